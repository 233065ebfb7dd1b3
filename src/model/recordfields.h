#pragma once

#include "boardobj.h"
#include "portobj.h"
#include "recordfield.h"

#include <vector>

using SBoardField = SRecordField<CBoardObj>;
using SPortField = SRecordField<CPortObj>;

// Every value of a board's key and of a port's key, in the order the key is written. A new
// setting of a record is one row here; reading, writing, reports and the forms follow it.
//
// The defaults when missing are what a read of an incomplete key takes, not those of a new
// record ("190", "2d0", an empty instance name, ...).
const std::vector<SBoardField>& BoardFields();
const std::vector<SPortField>& PortFields();

// The field named by valueNameId; it must be one of the table's.
const SBoardField& BoardField(unsigned valueNameId);
const SPortField& PortField(unsigned valueNameId);
