#include "app/app_state.h"

AppState appState;

const char kCaption[] = "Tomavel";
