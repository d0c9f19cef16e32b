// Writing a file so that a failure never destroys or truncates the file that
// was there, and never leaves a half-written one under the target's name: the
// bytes go to a new temporary file in the target's folder, are flushed to the
// disk, and only then take the target's name (a rename when there is no file
// yet, ReplaceFileW when there is one).
#pragma once

#include <functional>
#include <string>

#include "output/ByteSink.h"
#include "output/FileSystem.h"

namespace output {

enum class ExistingFile {
    Replace,  // an existing target is replaced
    Keep,     // a target that appeared meanwhile is left alone: the save fails
};

// Runs content on a sink over the temporary file and puts the result in place.
// Throws win::Error naming the target and the system's reason on failure;
// whatever content throws passes through. In both cases the temporary file is
// gone and the target untouched.
void WriteFileSafely(const std::wstring& target, const std::function<void(ByteSink&)>& content,
                     ExistingFile existing = ExistingFile::Replace, FileSystem& fs = RealFileSystem());

// The same for bytes encoded beforehand.
void WriteFileSafely(const std::wstring& target, const void* data, std::size_t size,
                     ExistingFile existing = ExistingFile::Replace, FileSystem& fs = RealFileSystem());

}  // namespace output
