// Handlers of the main window that belong to no install step: link colours
// under the mouse, the way back to the quick-install page, and the exit
// confirmation.
#pragma once

#include <cstdint>

constexpr uint32_t kLinkColorHovered = 0xFF000000;
constexpr uint32_t kLinkColorNormal = 0xFF7A7A7A;

// Hover change of 标签_自定义安装 / 标签_返回快速安装: black only for an
// argument of exactly 1, grey for anything else.
void onCustomLinkHover(int32_t entered);
void onBackLinkHover(int32_t entered);

// Click of 标签_返回快速安装: back to page 0, nothing else changes.
void onBackLinkClicked();

// Click of 图片按钮_退出: asks first; OK ends the program with 0, anything
// else returns with nothing changed.
void onExitClicked();
