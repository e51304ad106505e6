// The database layer: SQLite standing in for the Jet engine.
#pragma once

#include "db/connection.h"
#include "db/dataset.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/jet.h"
#include "db/prepared.h"
#include "db/query.h"
#include "db/table.h"
#include "db/value.h"
