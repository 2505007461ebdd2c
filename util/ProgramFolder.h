#pragma once
#include <string>
#include <string_view>

// The folder the program's own files live in, with a trailing "/": the folder of
// the executable, or QUILLON_PROGRAM_DIR when set.
std::string ProgramDir();
// The mount point of the file system holding ProgramDir(), without trailing "/"
// (empty when that is the root): what "%exedriver%" names.
std::string ProgramDrive();
// The mount point of the file system holding a path, without trailing "/"
// (empty when that is the root).
std::string MountPointOf(std::string_view path);
// Whether the file system holding an existing path is mounted read-only (a CD-ROM).
bool OnReadOnlyFileSystem(std::string_view path);
// Where the settings file, bookmark file and results page are kept: the program
// folder when writable, else $XDG_CONFIG_HOME/quillon/ (created on demand and
// seeded with the program folder's copy of the file asked for).
std::string WritableDir();
// WritableDir() + name, seeding it from ProgramDir() + name the first time.
std::string WritableFile(const std::string& name);
// The private per-user folder (mode 0700, ours, not a link) for form program
// files, with a trailing "/": "quillon/" in $XDG_RUNTIME_DIR, else
// "quillon-<uid>/" in the temporary folder. Empty when neither can be had
// (someone else made the folder first): never a shared folder.
std::string PrivateTempDir();
// A new folder of its own (mode 0700, "run-<pid>-" and a random name) inside
// PrivateTempDir(), or made by mkdtemp in the temporary folder when that is
// empty; with a trailing "/"; empty when it cannot be made.
std::string NewPrivateRunFolder();
// Removes the run folders in PrivateTempDir() that a process of ours no longer
// running left behind (a killed reader's form values), and those of earlier
// versions (no process number in the name) older than the given age. Answers
// how many went.
int ClearStaleRunFolders(int legacyAgeSeconds = 24 * 60 * 60);
