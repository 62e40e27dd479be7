#pragma once
// Joins the volumes of a set into one single-file archive.

#include "engine/span/SpanContext.h"

namespace brx {

// archiveName: a volume of the set (the last one; on removable drives the
// disk in the drive is asked for as needed). target: on entry a folder (a
// unique "zip....zip" is made there) or a file name (replaced); on exit the
// archive produced. 0 = success; -7 / -8 / -9 = failure, reported, the
// partial output deleted and target emptied.
int ReadSpan(SpanContext& context, const QString& archiveName, QString& target);

} // namespace brx
