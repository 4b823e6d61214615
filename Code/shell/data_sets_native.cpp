// Data-set locator, native builds: no modules to load.
#include "data_sets.h"

DataSetHost DefaultDataSetHost() { return DataSetHost{}; }
