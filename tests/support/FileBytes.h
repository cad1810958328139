#pragma once
#include <string>

// The whole content of a file as the tests see it, read while other handles
// may still have it open; "<missing>" when it cannot be opened.
std::string fileBytes(const std::string& path);
