// String ids of the layer's own texts (classlib.rc). Programs include
// classlib.rc in their resource script, since one module holds every resource.
#pragma once

#define AFX_IDS_APP_TITLE 0xE000
#define AFX_IDS_IDLEMESSAGE 0xE001
#define AFX_IDP_PARSE_INT 0xF110
#define AFX_IDP_PARSE_INT_RANGE 0xF111
