// SPDX-FileCopyrightText: 2026 Wirowanki authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// Base of every exception the platform layer raises; messages name the file involved.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The cause of a failed system call as the user reads it, in Polish ("brak miejsca na dysku"); forWriting
// tells a refused write from a refused read.
std::string polishReason(int err, bool forWriting = false);

// A file that cannot be found, read, written or renamed. code() is the errno behind it (0 when none).
class FileError : public Error {
public:
    using Error::Error;
    FileError(const std::string& message, int code) : Error(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_ = 0;
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
