// The filter boxes in the application globals and the settings ini.
#include "personality_filter_settings.h"

#include "app_globals.h"
#include "profile.h"

static_assert(int(kPersonalityFilterBoxes) == kPersonalityFilterCount, "the globals hold every filter box");

namespace {
// Where the ticks live while there are no globals (tests, early start-up).
int32_t g_spare[kPersonalityFilterBoxes] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

int32_t* Fields() {
  AppGlobals* globals = GetAppGlobals();
  return globals && globals->settings ? globals->settings->personalityFilters : g_spare;
}
}  // namespace

PersonalityFilters CurrentPersonalityFilters() {
  PersonalityFilters filters;
  const int32_t* fields = Fields();
  for (int i = 0; i < kPersonalityFilterBoxes; ++i) filters.ticked[i] = fields[i] != 0;
  return filters;
}

void KeepPersonalityFilters(const PersonalityFilters& filters) {
  int32_t* fields = Fields();
  for (int i = 0; i < kPersonalityFilterBoxes; ++i) fields[i] = filters.ticked[i] ? 1 : 0;
}

// Before start-up has made the globals there is no settings file of the
// user's to write or read.
void SavePersonalityFilters() {
  const char* path = GetAppGlobals() ? GetSettingsIniPath() : nullptr;
  if (!path || !path[0]) return;
  SavePersonalityFilters(CurrentPersonalityFilters(), [path](const char* section, const char* key, const char* value) {
    ProfileWriteString(section, key, value, path);
  });
}

void LoadPersonalityFilters() {
  const char* path = GetAppGlobals() ? GetSettingsIniPath() : nullptr;
  PersonalityFilters filters;
  if (path && path[0])
    LoadPersonalityFilters(&filters, [path](const char* section, const char* key, int fallback) {
      return int(ProfileReadInt(section, key, fallback, path));
    });
  KeepPersonalityFilters(filters);
}
