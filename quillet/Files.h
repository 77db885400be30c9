#pragma once
// File helpers shared by the programs.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Folder of the running executable.
std::filesystem::path GetExecDir();
// Folder of the shipped data files (orderings, range libraries, pictures, preflop tables):
// share/ferrox6plus beside the executable's bin folder when there is one (the system
// package), else the executable's own folder (the build, an installation into one folder).
std::filesystem::path GetDataDir();
// The same for an executable in execDir.
std::filesystem::path DataDirFor(const std::filesystem::path& execDir);
// When the file is larger than maxBytes, keeps only about its last keepBytes, cut at a
// line start. The file stays usable for appending. Returns false on an I/O error.
bool TrimLogFile(const std::filesystem::path& file, std::uintmax_t keepBytes,
                 std::uintmax_t maxBytes);
// File name part of a path ("C:\a\b.txt" and "/a/b.txt" give "b.txt").
std::wstring LastName(const std::wstring& path);

// True when path names a regular file (a link to one counts) of at most maxBytes.
// Every reader asks this first: a FIFO or a device would block or never end.
bool IsRegularFileWithin(const std::filesystem::path& file, std::uintmax_t maxBytes);

// The whole content of a regular file of at most maxBytes; nullopt otherwise or on an
// I/O error, with the reason in *error when given. Opening never blocks.
std::optional<std::string> ReadRegularFile(const std::filesystem::path& file, std::uintmax_t maxBytes,
                                           std::string* error = nullptr);

// The first count bytes of a regular file (all of a shorter one), opened as ReadRegularFile
// opens: never waiting on a FIFO or a device.
std::optional<std::string> ReadRegularFileStart(const std::filesystem::path& file, std::size_t count,
                                                std::string* error = nullptr);

// Replaces file with bytes: written to a new, exclusively created file with a unique name
// in the same folder (file.tmp-XXXXXXXXXXXX), then renamed over it, so neither a reader nor
// a planted link ever sees or redirects a half-written file. For the program's own files.
// False with the reason in error.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes, std::string& error);

// Where a link at file leads, links followed to the end (a relative target read from its
// link's folder); file itself when it is no link. nullopt for a loop of links.
std::optional<std::filesystem::path> ResolveLinks(const std::filesystem::path& file);

// Replaces a file the user keeps (a range library, a saved outline) with bytes, as
// WriteFileAtomically does, but as the user's own file: a link at its name is followed and
// the file it leads to is replaced in that file's folder; the new file keeps the old one's
// mode and, where the process may set it, its owner. Refused, with nothing written, when
// the user could not write the file in place: no write permission (access(W_OK)), or no
// write bit for anyone, which root would otherwise pass over. False with the reason.
bool ReplaceUserFile(const std::filesystem::path& file, std::string_view bytes, std::string& error);

// The temporary files that writes of file left in its folder when the process died
// (file.tmp-XXXXXXXXXXXX): regular files only, never links, untouched for over a minute, as
// a younger one may be a write under way in another process. Removes them and returns them.
std::vector<std::filesystem::path> RemoveStaleTemporaries(const std::filesystem::path& file);
// The same for a user's file, which ReplaceUserFile writes where a link at its name leads:
// beside the name, and beside the file the link leads to.
std::vector<std::filesystem::path> RemoveStaleUserTemporaries(const std::filesystem::path& file);

}  // namespace quillet
