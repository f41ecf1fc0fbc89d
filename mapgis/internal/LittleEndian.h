#pragma once
// The byte helpers live in the public header.
#include "MapGisBytes.h"
