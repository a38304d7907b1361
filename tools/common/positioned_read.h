#pragma once

// pread() for Windows, which lacks it: the patch's three blocks are read by three threads at once
// from one descriptor, each at its own offset. POSIX has its own.
#ifdef _WIN32
#include <sys/types.h>

#include <cstddef>

#include <cstdint>

ssize_t pread(int fd, void* buffer, size_t size, int64_t offset);
#else
#include <unistd.h>
#endif
