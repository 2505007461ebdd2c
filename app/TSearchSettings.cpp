#include "app/TSearchSettings.h"

#include "search/FileSystem.h"
#include "search/SearchRequest.h"
#include "util/ProgramFolder.h"
#include "util/TIniFile.h"

namespace {

constexpr const char* Section = "KOVRA";

const char* const BannerText =
    "<H4><IMG SRC=%exedir%KOVRAJ.GIF><BR>You can change the color of screen by goto [OPTIONS | Viewer "
    "Preference]. You may display your own message and logo here by goto [OPTIONS | Search Engine "
    "Preferences].</H4>";

} // namespace

std::string TSearchSettings::DefaultDirectory()
{
    return HomeDirectory();
}

std::string TSearchSettings::DefaultResultFile()
{
    return WritableDir() + "KVRESULT.HTM";
}

std::string TSearchSettings::DefaultBanner()
{
    return BannerText;
}

TSearchSettings TSearchSettings::Read(const TIniFile& ini)
{
    TSearchSettings s;
    s.Heading = ini.ReadString(Section, "Heading", s.Heading);
    s.SubHeading = ini.ReadString(Section, "SubHeading", s.SubHeading);
    s.StartCpt = ini.ReadString(Section, "StartCpt", s.StartCpt);
    s.FileType = ini.ReadString(Section, "FileType", s.FileType);
    s.Directory = ini.ReadString(Section, "Directory", s.Directory);
    s.ResultFile = ini.ReadString(Section, "Result_File", s.ResultFile);
    s.LocalRF = ini.ReadInteger(Section, "LocalRF", 1);
    s.Banner = ini.ReadString(Section, "SrhBanner", s.Banner);
    s.IncludeSub = ini.ReadBool(Section, "IncludeSub", true);
    s.HideDir = ini.ReadBool(Section, "HideDir", false);
    s.HideFT = ini.ReadBool(Section, "HideFT", false);
    s.HideAdv = ini.ReadBool(Section, "HideAdv", false);
    s.DirRO = ini.ReadBool(Section, "DIR_RO", false);
    return s;
}

void TSearchSettings::Write(TIniFile& ini) const
{
    ini.WriteString(Section, "Heading", Heading);
    ini.WriteString(Section, "SubHeading", SubHeading);
    ini.WriteString(Section, "StartCpt", StartCpt);
    ini.WriteString(Section, "FileType", FileType);
    ini.WriteString(Section, "Directory", Directory);
    ini.WriteString(Section, "Result_File", ResultFile);
    ini.WriteString(Section, "SrhBanner", Banner);
    ini.WriteInteger(Section, "LocalRF", LocalRF);
    ini.WriteBool(Section, "IncludeSub", IncludeSub);
    ini.WriteBool(Section, "HideDir", HideDir);
    ini.WriteBool(Section, "Dir_RO", DirRO);
    ini.WriteBool(Section, "HideAdv", HideAdv);
    ini.WriteBool(Section, "HideFT", HideFT);
}

std::string TSearchSettings::ResultPath() const
{
    return ResultFilePath(ResultFile, LocalRF);
}
