// Files and folders that a test makes and removes.
#pragma once

#include <string>

namespace test_support {

// A new empty folder under the temporary folder, removed with its contents
// when the object goes. Path() has no trailing backslash.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

void RemoveFolderTree(const std::wstring& path);
bool WriteBinaryFile(const std::wstring& path, const std::string& bytes);
// The whole file, or an empty string when it cannot be read.
std::string ReadBinaryFile(const std::wstring& path);
bool CopyFileTo(const std::wstring& from, const std::wstring& to);

// A file of the test build folder (relative path with backslashes), as a
// Windows path.
std::wstring TestBuildFile(const std::wstring& relative);

}  // namespace test_support
