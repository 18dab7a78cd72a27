// What the library's unload asks of the catalogue.
#pragma once

// Closes the process's catalogue (GetAppDB) as the library unloads, while the process's log
// is still open: the last commit waits only briefly for other programs' reads, since the
// loader lock is held, and writes it cannot commit are written to the log as lost.
void CloseCatalogueAtUnload();
