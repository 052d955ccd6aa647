#pragma once
// Unique temporary files named like vbtXXXX.tmp in the system's temporary folder.
#include <QString>

// Creates a new, empty file whose name starts with the prefix; its full path, or an empty text
// on failure.
QString MakeTempFile(const QString& prefix);
