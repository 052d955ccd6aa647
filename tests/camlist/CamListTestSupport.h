#pragma once
// The cam list tests use the shared program-folder helpers.
#include "FolderTestSupport.h"
