#include "drills/DrillCompanions.h"

DrillCompanions& drillCompanions() {
    static DrillCompanions companions;
    return companions;
}
