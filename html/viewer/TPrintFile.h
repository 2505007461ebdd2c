#pragma once
// The file a print job writes when the printer prints to a file. The job
// writes into a fresh temporary file beside the target; only a complete file
// takes the target's place. A full disk, a file size limit or a stopped job
// leaves the old file as it was, and a target that is not a regular file (a
// FIFO, a folder, a device) is refused before anything is written.
#include <QString>
#include <string>

class QPrinter;

class TPrintFile {
public:
    // Checks the printer's output file and sends the printer to a temporary
    // file beside it. Raises EPrinter, saying what is wrong, when the target
    // cannot take a printed file. A printer that prints to paper (or into a
    // preview) is left alone.
    explicit TPrintFile(QPrinter& printer);
    // Removes the temporary file unless it was committed, and gives the
    // printer its target name back.
    ~TPrintFile();
    TPrintFile(const TPrintFile&) = delete;
    TPrintFile& operator=(const TPrintFile&) = delete;

    bool Active() const { return !FTemporary.empty(); }
    const std::string& Target() const { return FTarget; }
    // After the job ended: checks that the file is complete and puts it in
    // the target's place. Raises EPrinter when it is not; the target then
    // stays as it was.
    void Commit();
    // Throws the printed file away (a stopped job or one that printed nothing).
    void Discard();

private:
    void Fail(const std::string& what);

    QPrinter& FPrinter;
    QString FPrinterTarget; // the name the printer had
    std::string FTarget;    // the file replaced (a link's target, when a link)
    std::string FTemporary;
    bool FTargetExisted = false;
    unsigned FTargetMode = 0644;
};
