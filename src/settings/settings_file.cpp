// placeholder: replaced by the settings implementation
#include "settings/settings_file.h"
#include <stdexcept>
std::string SettingsPath(const std::string& systemDirectory) { return systemDirectory + "/tarnwick.ini"; }
void CreateDefaultSettings(const std::string&) { throw std::logic_error("not built yet"); }
void LoadSettings(const std::string&, Settings&) { throw std::logic_error("not built yet"); }
void SaveSettings(const std::string&, const std::string&, const std::string&, const std::string&,
                  const std::string&, const std::string&) { throw std::logic_error("not built yet"); }
