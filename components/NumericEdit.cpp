#include "components/NumericEdit.h"
