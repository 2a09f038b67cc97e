#pragma once
// The documents folder of one archive record, as the conversion engine names it.

#include "common/docs_folder.h"
