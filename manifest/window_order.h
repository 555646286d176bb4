// Window placement the start-up checks need.
#pragma once

// Shows window without moving or sizing it and takes it out of the topmost
// band. Nothing happens for a null window.
void showWindowNotTopmost(void* window);
