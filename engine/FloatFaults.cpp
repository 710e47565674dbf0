#include "engine/FloatFaults.h"

#include "engine/QelParser.h"

void RaiseFault(int flags) {
  throw EngineError(FloatFaultMessage(flags));
}

void ThrowOnFault(int faults) {
  if (const int raised = RaisedFaults() & faults) RaiseFault(raised);
}
