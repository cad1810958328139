// KtWindowDescription: the layout checks of the record that scenario modules fill.
#include "KtWindowDescription.h"
#include <cstddef>

#ifndef _WIN64
static_assert(offsetof(KtWindowDescription, rect) == 4, "rect follows kind");
static_assert(offsetof(KtWindowDescription, parentName) == 24, "parentName");
static_assert(offsetof(KtWindowDescription, name) == 36, "name");
static_assert(offsetof(KtWindowDescription, showCmd) == 48, "showCmd");
static_assert(offsetof(KtWindowDescription, imageFile) == 52, "imageFile");
static_assert(offsetof(KtWindowDescription, fillColor) == 64, "fillColor");
static_assert(offsetof(KtWindowDescription, param1) == 68, "param1 after the padded colour");
static_assert(offsetof(KtWindowDescription, param2) == 72, "param2");
static_assert(offsetof(KtWindowDescription, extra) == 76, "extra");
static_assert(sizeof(KtWindowDescription) == 88, "ten fields");
#else
static_assert(offsetof(KtWindowDescription, kind) < offsetof(KtWindowDescription, rect), "order");
static_assert(offsetof(KtWindowDescription, rect) < offsetof(KtWindowDescription, parentName), "order");
static_assert(offsetof(KtWindowDescription, parentName) < offsetof(KtWindowDescription, name), "order");
static_assert(offsetof(KtWindowDescription, name) < offsetof(KtWindowDescription, showCmd), "order");
static_assert(offsetof(KtWindowDescription, showCmd) < offsetof(KtWindowDescription, imageFile), "order");
static_assert(offsetof(KtWindowDescription, imageFile) < offsetof(KtWindowDescription, fillColor), "order");
static_assert(offsetof(KtWindowDescription, fillColor) < offsetof(KtWindowDescription, param1), "order");
static_assert(offsetof(KtWindowDescription, param1) < offsetof(KtWindowDescription, param2), "order");
static_assert(offsetof(KtWindowDescription, param2) < offsetof(KtWindowDescription, extra), "order");
#endif
