#pragma once
// Files for viewer, frame and printing tests, written into a temporary folder.
#include <QTemporaryDir>
#include <fstream>
#include <string>

namespace viewertest {

class Files {
public:
    std::string Path(const std::string& name) const { return FDir.path().toStdString() + "/" + name; }
    std::string Write(const std::string& name, const std::string& text) const
    {
        std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string Folder() const { return FDir.path().toStdString(); }

private:
    QTemporaryDir FDir;
};

// A page of numbered paragraphs "Paragraph N" with anchors "pN".
inline std::string Paragraphs(int count, const std::string& head = "")
{
    std::string html = "<html><head><title>Numbers</title>" + head + "</head><body>";
    for (int i = 1; i <= count; ++i)
        html += "<p><a name=\"p" + std::to_string(i) + "\">Paragraph " + std::to_string(i) +
                "</a> with some words to fill the line.</p>\n";
    return html + "</body></html>";
}

} // namespace viewertest
