#pragma once
// brindle: reads and writes MapGIS 6.x vector data. The one header a
// program includes.
#include "MapGisAttributeReads.h"
#include "MapGisAttributes.h"
#include "MapGisCodePage.h"
#include "MapGisColorLib.h"
#include "MapGisFastReader.h"
#include "MapGisFormat.h"
#include "MapGisGeometry.h"
#include "MapGisLegend.h"
#include "MapGisMemReader.h"
#include "MapGisProject.h"
#include "MapGisProjectPaths.h"
#include "MapGisProjection.h"
#include "MapGisReader.h"
#include "MapGisStatus.h"
#include "MapGisVersion.h"
#include "MapGisWriter.h"
