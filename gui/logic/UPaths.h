#pragma once
// The folder separator of the platform's paths. Windows keeps "\"; POSIX
// systems put "/" in its place wherever the tool builds or splits a path.

#ifdef _WIN32
inline constexpr char NativePathDelimiter = '\\';
#else
inline constexpr char NativePathDelimiter = '/';
#endif
