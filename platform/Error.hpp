#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// Base of every exception the platform layer raises; messages name the file involved.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be found, read, written or renamed.
class FileError : public Error {
public:
    using Error::Error;
};

// A picture that cannot be decoded or encoded (bad header, truncated data, unsupported kind).
class ImageError : public Error {
public:
    using Error::Error;
};

// Audio device or WAV file trouble.
class SoundError : public Error {
public:
    using Error::Error;
};

} // namespace platform
