#include "desktop/apply_skin.h"

#include "core/system/shell.h"
#include "desktop/form_colors.h"
#include "desktop/skin_framework.h"

void applySkin(QWidget& mainWindow, SkinFramework& skin, const QString& programFolder) {
    const QString skinPath = programFolder + QLatin1String(kSkinFile);
    if (!Shell::isFile(skinPath)) {
        return;
    }
    setFormColors(mainWindow);
    skin.LoadSkin(skinPath, QString());
    skin.setApplyOptions(skin.ApplyOptions() | SkinFramework::kSkinOtherWindows);
    skin.setScaleToScreen(true);
    skin.setKeepWindowSheet(true);
    skin.ApplyWindow(&mainWindow);
}
