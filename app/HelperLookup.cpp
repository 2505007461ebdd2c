#include "app/HelperLookup.h"

#include <cctype>

#include "util/TIniFile.h"
#include "util/Utilities.h"

std::string HelperForExtension(const std::string& settingsFile, std::string_view extension)
{
    if (!extension.empty() && extension.front() == '.')
        extension.remove_prefix(1);
    const TIniFile ini(settingsFile);
    if (extension.empty() || !ini.exists())
        return {};
    return ini.ReadString("Helpers", extension, "");
}

std::string PathForDescription(const std::string& settingsFile, std::string_view description)
{
    return TIniFile(settingsFile).ReadString("SrhPath", description, "");
}

std::string EditorProgram(const std::string& settingsFile)
{
    return TIniFile(settingsFile).ReadString("Editor", "Program", "");
}

std::string EditorCaption(std::string_view programPath)
{
    const std::string path = ToNativeSeparators(programPath);
    std::string name = path.substr(path.rfind('/') + 1);
    name = name.substr(0, name.find('.'));
    for (char& c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    if (!name.empty())
        name[0] = char(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}
