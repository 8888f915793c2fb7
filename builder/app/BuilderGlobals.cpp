#include "BuilderGlobals.h"

BuilderGlobals& Builder() {
  static BuilderGlobals globals;
  return globals;
}
