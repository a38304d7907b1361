#pragma once

#include <string>

/// The MD5 digest of the file at `path` as 32 lower-case hex digits; empty, with the reason in
/// `error`, when it cannot be read. Each system's md5sum.exe has its own.
std::string md5OfFile(const std::string& path, std::string* error);

/// What md5sum.exe does with its arguments on every system: a line "DIGEST  NAME" for each file
/// named (every argument is a name, also one that starts with '-'), or its complaint on standard
/// error. The exit status: 0 when every file was read and the output written, else 1 (2 for no file).
int printDigestLines(int argc, char** argv);
