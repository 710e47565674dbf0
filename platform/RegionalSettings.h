#pragma once

#include <string>

// The decimal separator of the user's regional settings: read once from the locale environment
// (LC_ALL, else LC_NUMERIC, else LANG; "," for German and other comma locales) and overridable by
// tests and by `qelcli --separator`. Nothing here consults the C library's current locale.
char RegionalDecimalSeparator();
void SetRegionalDecimalSeparator(char separator);
char DecimalSeparatorFromEnvironment();
