#pragma once
// The version of the library a program runs with.

namespace MapGis {

// "MAJOR.MINOR.PATCH" of this build of brindle.
const char* LibraryVersion();

}  // namespace MapGis
