#include "app/install_state.h"

InstallState& installState() {
  static InstallState state;
  return state;
}
