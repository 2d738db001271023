#pragma once

#include <QString>

// A sample site for the template pictures: an organisation of the template's
// category with every kind of page a real site has (introduction, news,
// products, gallery, guides, contact), pictures included.
namespace SampleSite {

// Fills the workspace workPath (holding a pristine govbuilder.sbd) with the
// sample content of the category ("政府机关", "企业单位", "学校医院"); false
// with *error when a statement or picture fails.
bool fill(const QString& workPath, const QString& category, QString* error);

} // namespace SampleSite
