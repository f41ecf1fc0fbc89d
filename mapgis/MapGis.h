#pragma once
// brindle: reads and writes MapGIS 6.x vector data. The one header a
// program includes.
#include "MapGisAttributeReads.h"
#include "MapGisAttributes.h"
#include "MapGisCodePage.h"
#include "MapGisFastReader.h"
#include "MapGisFormat.h"
#include "MapGisGeometry.h"
#include "MapGisProjection.h"
#include "MapGisStatus.h"
