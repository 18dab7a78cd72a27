// String resources of the resource-overload tests.
#pragma once
#define IDS_TEST_BOX_TEXT     41001
#define IDS_TEST_BOX_CAPTION  41002
