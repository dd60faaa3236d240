// The chunked scans of the current database the lists are built from; the
// engine provides them (recordstore/current_database.h).
#pragma once

#include "recordstore/current_database.h"

namespace tavrin::finance {

using tavrin::rs::CurrentCountAndSerial;
using tavrin::rs::FindRecordBySerial;
using tavrin::rs::ScanCurrentDatabase;
using tavrin::rs::SerialOfRecord;

}  // namespace tavrin::finance
