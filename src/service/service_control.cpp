// placeholder: replaced by the service implementation
#include "service/service_control.h"
void InstallService(CommandLauncher&) {}
void UninstallService(CommandLauncher&) {}
