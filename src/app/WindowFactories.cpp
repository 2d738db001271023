#include "app/WindowFactories.h"

#include "app/AppContext.h"

#include <QWidget>

// --- site structure ---
#include "structure/designFrm.h"

// --- content entry ---
#include "content/insDataFrm.h"

// --- publishing ---
#include "publish/dlgFrm.h"
#include "publish/updataFrm.h"
#include "publish/verFrm.h"

QWidget* createTaskWindow(const QString& name, AppContext& ctx, QWidget* parent)
{
    (void)ctx;
    (void)parent;

    // --- site structure ---
    if (name == QLatin1String("designFrm"))
        return new designFrm(ctx, parent);

    // --- content entry ---
    if (name == QLatin1String("insDataFrm"))
        return new insDataFrm(ctx, parent);

    // --- publishing ---
    if (name == QLatin1String("updataFrm"))
        return new updataFrm(ctx, parent);
    if (name == QLatin1String("dlgFrm"))
        return new dlgFrm(ctx, parent);
    if (name == QLatin1String("verFrm"))
        return new verFrm(ctx, parent);

    (void)name;
    return nullptr;
}

bool isFloatingWindow(const QString& name)
{
    return name == QLatin1String("dlgFrm") || name == QLatin1String("verFrm") || name == QLatin1String("aboutFrm");
}
