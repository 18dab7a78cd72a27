// Helpers of the XML tests.
#pragma once
#include <string>
#include <Corelink.h>
#include <text_cast.h>
#include "xml_shape.h"
