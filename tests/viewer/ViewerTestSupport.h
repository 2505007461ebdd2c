#pragma once
// Files for viewer, frame and printing tests, written into a temporary folder.
#include <QTemporaryDir>
#include <fstream>
#include <sstream>
#include <string>

#include "html/layout/TImageObj.h"
#include "html/layout/TSectionList.h"
#include "html/viewer/THTMLViewer.h"

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

// The bytes of a picture of the sample collection.
inline std::string SampleImage(const std::string& name)
{
    std::ifstream in(std::string(QUILLON_SOURCE_DIR) + "/sample/images/" + name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The picture of the shown document with this ID (none when there is none).
inline TImageObj* ImageById(THTMLViewer& viewer, const std::string& id)
{
    return dynamic_cast<TImageObj*>(viewer.SectionList().FindID(id));
}

} // namespace viewertest
