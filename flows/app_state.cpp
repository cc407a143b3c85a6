#include "flows/app_state.h"

AppState appState;

const char kCaption[] = "Tomavel";
