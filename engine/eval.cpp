#include "board.h"
namespace corvane {
i8 g_pst[12][80];
}
