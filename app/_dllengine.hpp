#pragma once

#include "platform/Bitmap.hpp"

#include <string>

// The resource library: named interface pictures stored as Resource/<name>.bmp beside the program.
// The name is used as given (case-sensitive first, then case-insensitive). A missing or broken
// picture raises, so that callers can turn it into their "missing resources" error.
void OtworzBMP(const std::string& name, platform::Bitmap& bitmap);
