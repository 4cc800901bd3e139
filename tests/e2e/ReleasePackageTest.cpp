// The release zip as a user meets it: unpacked into a folder of its own (by
// tools/check-package.sh, which names the folder in QV_UNPACKED_DIR), with
// nothing but what the zip holds.
#include "MurvelProcess.h"

#include "TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string UnpackedFolder() {
    const char* folder = std::getenv("QV_UNPACKED_DIR");
    return folder ? folder : "";
}

std::vector<std::string> FileNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

class VersionBlock {
public:
    explicit VersionBlock(const std::string& path) {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
        m_data.resize(size);
        if (!size || !GetFileVersionInfoA(path.c_str(), 0, size, m_data.data()))
            m_data.clear();
    }

    std::string FixedFileVersion() const {
        VS_FIXEDFILEINFO* info = nullptr;
        UINT size = 0;
        if (m_data.empty() ||
            !VerQueryValueA(m_data.data(), "\\", reinterpret_cast<void**>(&info), &size) ||
            size < sizeof *info)
            return "";
        return std::to_string(HIWORD(info->dwFileVersionMS)) + "." +
               std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
               std::to_string(HIWORD(info->dwFileVersionLS)) + "." +
               std::to_string(LOWORD(info->dwFileVersionLS));
    }

    std::string Text(const char* key) const {
        char* text = nullptr;
        UINT size = 0;
        std::string query = std::string("\\StringFileInfo\\080404b0\\") + key;
        if (m_data.empty() ||
            !VerQueryValueA(m_data.data(), query.c_str(), reinterpret_cast<void**>(&text), &size))
            return "";
        return text;
    }

private:
    std::vector<char> m_data;
};

// The resource of the given type and id in a module loaded as data.
std::string ResourceBytes(const std::string& path, const char* type, int id) {
    HMODULE h = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!h)
        return "";
    std::string bytes;
    HRSRC res = FindResourceA(h, MAKEINTRESOURCEA(id), type);
    HGLOBAL loaded = res ? LoadResource(h, res) : nullptr;
    if (loaded)
        bytes.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(h, res));
    FreeLibrary(h);
    return bytes;
}

// The version attribute of the program's own assembly identity in its
// embedded manifest.
std::string ManifestVersion(const std::string& path) {
    const std::string text = ResourceBytes(path, MAKEINTRESOURCEA(24), 1);
    const std::string mark = "name=\"Qorvane.Murvel\" version=\"";
    size_t at = text.find(mark);
    if (at == std::string::npos)
        return "";
    at += mark.size();
    return text.substr(at, text.find('"', at) - at);
}

// What the About box template shows after "版本:" (version).
std::string AboutBoxVersion(const std::string& path) {
    const std::string dialog = ResourceBytes(path, MAKEINTRESOURCEA(5), 100);
    const std::wstring all(reinterpret_cast<const wchar_t*>(dialog.data()), dialog.size() / 2);
    const std::wstring mark = L"版本:";
    size_t at = all.find(mark);
    if (at == std::wstring::npos)
        return "";
    at += mark.size();
    std::string version;
    for (; at < all.size() && all[at] != L'\0'; ++at)
        version += static_cast<char>(all[at]);
    return version;
}

// "1.3.0.0" to "1.3".
std::string MajorMinor(const std::string& version) {
    return version.substr(0, version.find('.', version.find('.') + 1));
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(ReleasePackage, HoldsTheProgramItsLibraryTheGuideAndTheTemplates) {
    const std::string folder = UnpackedFolder();
    ASSERT_FALSE(folder.empty()) << "run through tools/check-package.sh";
    EXPECT_EQ((std::vector<std::string>{"Murvel.exe", "README.txt", "TessikDLL.dll"}),
              FileNames(folder));

    // UTF-8 with a byte-order mark and CRLF line ends: any Notepad shows both
    // languages whatever the system's code page.
    const std::string guide = ReadWholeFile(folder + "\\README.txt");
    EXPECT_EQ(0u, guide.find("\xEF\xBB\xBF"));
    EXPECT_NE(std::string::npos, guide.find("前台才有效"));
    EXPECT_NE(std::string::npos, guide.find("Murvel.exe /UNINSTALL"));
    EXPECT_EQ(Count(guide, "\n"), Count(guide, "\r\n"));

    // The administrative templates in the layout of a PolicyDefinitions
    // folder, as they are in the sources.
    for (std::string name : {"Qorvane.admx", "en-US/Qorvane.adml", "zh-CN/Qorvane.adml"}) {
        const std::string source = ReadWholeFile(QV_POLICIES_DIR "/" + name);
        std::replace(name.begin(), name.end(), '/', '\\');
        EXPECT_FALSE(source.empty()) << name;
        EXPECT_EQ(source, ReadWholeFile(folder + "\\policies\\" + name)) << name;
    }
}

TEST(ReleasePackage, EveryVersionMarkIsTheProjectVersion) {
    const std::string program = UnpackedFolder() + "\\Murvel.exe";
    const VersionBlock block(program);
    const struct {
        const char* what;
        std::string version;
    } marks[] = {
        {"FILEVERSION", block.FixedFileVersion()},
        {"FileVersion text", block.Text("FileVersion")},
        {"ProductVersion text", block.Text("ProductVersion")},
        {"manifest", ManifestVersion(program)},
    };
    for (const auto& mark : marks)
        EXPECT_EQ(QV_PROJECT_VERSION, mark.version) << mark.what;
    EXPECT_EQ(MajorMinor(QV_PROJECT_VERSION), AboutBoxVersion(program)) << "About box";
}

TEST(ReleasePackage, TheUnpackedProgramStartsAndShowsItsMainWindow) {
    MurvelProcess murvel(UnpackedFolder());
    ASSERT_TRUE(murvel.Start());
    char className[64] = "";
    GetClassNameA(murvel.MainWindow(), className, sizeof className);
    EXPECT_STREQ("#32770", className);
    EXPECT_EQ("Qorvane", murvel.Title());
    EXPECT_TRUE(WaitFor([&] { return murvel.IsVisible(); }, 5000));
    EXPECT_TRUE(murvel.Close());
}
