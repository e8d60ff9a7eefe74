#pragma once

// The rules for files the user names. Readers open them without blocking and take only
// regular files, so a FIFO, a device, a socket or a directory given as input is refused
// at once instead of hanging the program or reading as an empty file. Writers replace
// only regular files: a target that exists and is something else is refused, so a
// FIFO or a device node is never turned into an ordinary file.
//
// The refusals record one line that names the file and what it is:
//     Cannot read in.csv: it is a FIFO, not a regular file
//     Cannot write out.ccf: it is a character device, not a regular file
// Failures of the system calls themselves record nothing and leave errno set, so each
// caller keeps its own message for a file that is missing or unreadable.

#include "core/ErrorRecord.h"

#include <cstdio>
#include <string>
#include <sys/types.h>

// "a FIFO", "a directory", "a character device", "a block device", "a socket",
// "a symbolic link", "a regular file" for a st_mode value.
const char* DescribeFileKind(mode_t mode);

// Opens path read-only. Returns the descriptor (blocking mode, close-on-exec), or -1:
// with errno from open, or with the refusal recorded (errno EINVAL) when the path is
// not a regular file.
int OpenRegularFileForReading(const char* path, CErrorRecord* errors);

// The same as a stdio stream opened "rb"; null as above.
std::FILE* OpenRegularFileStream(const char* path, CErrorRecord* errors);

// For readers that hand the path to a library: true when path is a regular file (after
// following links); false with the refusal recorded when it exists and is something
// else, false with nothing recorded and errno set when it cannot be examined.
bool CheckRegularFile(const char* path, CErrorRecord* errors);

// The file a write to path really replaces: symbolic links are followed, also when the
// last one points to a file that does not exist yet (that file is then created). A
// chain of more than 40 links, or a link that cannot be read, gives path itself.
std::string ResolveWriteTarget(const char* path);

// True when target (resolved by ResolveWriteTarget) does not exist or is a regular
// file. Else records, naming displayPath, "Cannot write %s: Is a directory" for a
// directory and the refusal above for anything else.
bool CheckReplaceableTarget(const char* displayPath, const std::string& target, CErrorRecord* errors);
