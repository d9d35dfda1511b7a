#ifndef LAUNCHER_RESOURCES_RESOURCE_IDS_H_
#define LAUNCHER_RESOURCES_RESOURCE_IDS_H_

// Resource identifiers shared by the resource script and the Windows host.
#define IDI_LAUNCHER 1

#endif  // LAUNCHER_RESOURCES_RESOURCE_IDS_H_
