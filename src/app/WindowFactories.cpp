#include "app/WindowFactories.h"

#include "app/AppContext.h"

#include <QWidget>

// --- site structure ---
#include "structure/designFrm.h"

// --- content entry ---
#include "content/insDataFrm.h"

// --- publishing ---

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

    (void)name;
    return nullptr;
}

bool isFloatingWindow(const QString& name)
{
    return name == QLatin1String("dlgFrm") || name == QLatin1String("verFrm") || name == QLatin1String("aboutFrm");
}
