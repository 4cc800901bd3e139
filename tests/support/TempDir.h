#pragma once

#include <string>

// A fresh directory under the temporary folder, removed with its contents.
class TempDir {
public:
    TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::string& Path() const { return m_path; }
    // Path of a file in the directory.
    std::string File(const char* name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};
