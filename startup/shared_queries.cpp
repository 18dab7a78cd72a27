// Read-only queries over the shared state: handset model and communication block.
#include <string.h>
#include "SharedServices.h"
#include "wide_text.h"

bool Check_TP_ModelName(const unsigned short* name) {
    return name && wcscmp(wide(name), wide(g_szTP_Model)) == 0;
}

bool GetCommunicationData(COMMUNICATION_INFO_DATA* out) {
    if (!out || !g_pCommunicationInfo) return false;
    memcpy(out, g_pCommunicationInfo, sizeof(*out));
    return true;
}
