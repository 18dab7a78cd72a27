// Corelink: the shared-functions library of the Tallyport suite. Hosts include this.
#pragma once
#include "CorelinkApi.h"
#include "Capability.h"
#include "SharedState.h"
#include "SharedServices.h"
#include "MelodyCapability.h"
#include "TextConvert.h"
#include "SimpleDB.h"
#include "AppDB.h"
#include "XmlDoc.h"
#include "NetConnector.h"
#include "SxMessageBox.h"
#include "ShellIntegration.h"
