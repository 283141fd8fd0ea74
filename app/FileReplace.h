#pragma once
// Replacing a file's contents so that a failed or interrupted write leaves
// the old file whole: the bytes go to a hidden temporary beside the target,
// which is flushed to disk and renamed over it.

#include <functional>
#include <optional>
#include <span>
#include <string>

// The file a path names after following its symbolic links (also a link
// whose target does not exist yet); nothing when the links form a loop.
std::optional<std::string> FollowLinks(std::string path);

// Makes the missing directories on the way to the file the path names, each
// with mode 0700 (less the umask); existing ones are left as they are.
// Returns 0 or the errno value of the directory that could not be made.
int MakeDirectoriesFor(const std::string& path);

// Whether a write waits until its bytes are on the disk. Either way a
// replaced file is seen whole or not at all; only a power failure right after
// a lazy write can leave the file empty. Pictures made by the thousand are
// written lazily, the configuration and curve files to the disk.
enum class Flush { ToDisk, Lazily };

// Writes all bytes to fd from where it stands; 0 or the errno value.
int WriteAllBytes(int fd, std::span<const unsigned char> bytes);

// Writes all bytes, cuts the file to their size, flushes it to disk (when
// asked) and closes fd; 0 or the errno value of the first step that failed.
int WriteBytesAndClose(int fd, std::span<const unsigned char> bytes, Flush flush = Flush::ToDisk);

// When the temporaries of killed writes are looked for: before every write
// (the configuration, saved now and then), or at the first write into a
// directory in this process (files written by the thousand, where reading
// the directory each time would cost more than the writes).
enum class Cleanup { EveryWrite, OncePerDirectory };

// The name of a temporary for a write of target by this process, "XXXXXX"
// at its end for six random characters: "." + the target's name + marker +
// the writer (its process id, start time, boot and PID namespace, in that
// order, each followed by "-"). The target's name is cut to its first bytes
// where the whole would not fit in 255 bytes, so every legal target has one.
std::string TemporaryNameFor(const std::string& target, const std::string& marker);

// Whether the file name is a temporary "." + targetName + marker + six
// characters of a write of the file named targetName in the same directory
// (as versions before the writer was named in it made them).
bool IsTemporaryOf(
    const std::string& name, const std::string& targetName, const std::string& marker);

// Writes the bytes to a temporary (TemporaryNameFor) beside target and
// renames it over target. The temporary takes the mode,
// owner and group of the file it replaces; a new file gets 0666 less the
// user's umask, as any file a program creates. Temporaries with
// the same marker of writes that provably ended (their writer's process is
// gone) are removed first (when, see Cleanup), as are the target's own of
// older versions; no other file is touched. Where the directory takes no new file
// (read-only, or not writable by the user) the result of inPlace is returned when it is given, else
// that error. Returns 0 or the errno value of the step that failed; on failure the temporary is
// gone and target is as it was.
int ReplaceFileContents(const std::string& target, std::span<const unsigned char> bytes,
    const std::string& marker, const std::function<int()>& inPlace = {},
    Flush flush = Flush::ToDisk, Cleanup cleanup = Cleanup::EveryWrite);
