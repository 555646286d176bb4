// The custom-install page's choice of install directory. The user picks only
// the parent: the install always goes into a "LanJing" folder below it.
#pragma once

// Click on the link label 标签_自定义安装: shows the custom page with the
// default directory in the edit box and as customDir, discarding any earlier
// choice.
void onCustomLinkClicked();

// Click on 图片按钮_目录选择: asks for a folder and makes customDir the
// "LanJing" folder below it (the default directory when cancelled); the edit
// box shows the chosen parent. The edit box is only ever written, never read.
void onChooseDirectoryClicked();
