// The opaque iterator of the lists and maps.
#pragma once

struct __POSITION {};
typedef __POSITION* POSITION;
