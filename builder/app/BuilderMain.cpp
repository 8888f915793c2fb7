// The builder program's one application object; everything starts from it.
#include "BuilderApp.h"

CBuilderApp theApp;
