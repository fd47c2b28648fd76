#include "_dllengine.hpp"

#include "platform/Error.hpp"
#include "platform/Fs.hpp"
#include "platform/Image.hpp"

void OtworzBMP(const std::string& name, platform::Bitmap& bitmap) {
    // A resource name is a bare name; anything that could climb out of Resource/ is refused.
    if (name.empty() || name.find_first_of("/\\") != std::string::npos ||
        name.find('\0') != std::string::npos)
        throw platform::FileError("resource picture \"" + name + "\": not a resource name");
    const std::string path = platform::fs::resolveInProgramDir("Resource/" + name + ".bmp");
    bitmap = platform::image::decodeBmp(platform::fs::readAll(path), path);
}
