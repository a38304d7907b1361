#pragma once

#include <string>

/// The digest this program computes: md5sum.exe's or sha1sum.exe's. Both are built from the same
/// sources, each with its own `WADWRIGHT_DIGEST_SHA1` setting.
enum class Digest { Md5, Sha1 };

#ifdef WADWRIGHT_DIGEST_SHA1
inline constexpr Digest kDigest = Digest::Sha1;
inline constexpr const char* kToolName = "sha1sum.exe";
#else
inline constexpr Digest kDigest = Digest::Md5;
inline constexpr const char* kToolName = "md5sum.exe";
#endif

/// The digest of the file at `path` in lower-case hex (32 digits for MD5, 40 for SHA-1); empty,
/// with the reason in `error`, when it cannot be read. Each system has its own.
std::string digestOfFile(const std::string& path, std::string* error);

/// What the tool does with its arguments on every system: a line "DIGEST  NAME" for each file
/// named (every argument is a name, also one that starts with '-'), or its complaint on standard
/// error. The exit status: 0 when every file was read and the output written, else 1 (2 for no file).
int printDigestLines(int argc, char** argv);
