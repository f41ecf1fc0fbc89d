#pragma once
// Layer paths stored in project files, found on this system. Projects name
// their layers the Windows way (".\JZ.WT", "..\data\roads.wl",
// "D:\maps\roads.WL"), and the letter case of a stored name need not match
// the file on disk.
#include <string>

// The file that project item `storedName` names, for the project file
// `projectFile`. Backslashes and slashes separate components; a relative
// name is taken from the project's folder; a component missing under its
// exact name is matched without regard to letter case; an absolute Windows
// path (drive letter, or a UNC or rooted path that does not exist here)
// falls back to the same file name in the project's folder. The whole name
// (surrounding spaces trimmed) is tried first, its first space-delimited
// token only when the whole name names no file.
//
// Returns the path of the file found, or, when nothing exists, the path
// where the whole name was expected. An empty name gives an empty result.
namespace MapGis {

std::wstring ResolveProjectItem(const std::wstring& projectFile, const std::wstring& storedName);

}  // namespace MapGis
