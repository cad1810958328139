// SpiDependency: the one function of ktspidep.dll, the library that ktimport.spi imports.
#pragma once

#ifdef KT_SPI_DEPENDENCY_BUILD
#define KT_SPI_DEPENDENCY_API __declspec(dllexport)
#else
#define KT_SPI_DEPENDENCY_API __declspec(dllimport)
#endif

extern "C" KT_SPI_DEPENDENCY_API int spiDependencyPresent();
