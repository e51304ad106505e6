#include "xlsxfile.h"

#include <zip.h>

#include <QDomElement>

#include <stdexcept>

namespace xlsxtest {
namespace {

std::string str(const QString& s) { return s.toStdString(); }

QDomElement firstChild(const QDomElement& parent, const char* name) {
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (e.tagName() == QLatin1String(name)) return e;
    return {};
}

std::vector<QDomElement> childList(const QDomElement& parent, const char* name) {
    std::vector<QDomElement> out;
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (e.tagName() == QLatin1String(name)) out.push_back(e);
    return out;
}

}  // namespace

void writeZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& parts) {
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!z) throw std::runtime_error("cannot create " + path);
    for (const auto& [name, content] : parts) {
        zip_source_t* src = zip_source_buffer(z, content.data(), content.size(), 0);
        zip_file_add(z, name.c_str(), src, ZIP_FL_ENC_UTF_8);
    }
    if (zip_close(z) != 0) throw std::runtime_error("cannot write " + path);
}

Book::Book(const std::string& path) {
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!z) throw std::runtime_error("not a zip file: " + path);
    const zip_int64_t n = zip_get_num_entries(z, 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        zip_stat_t st;
        zip_stat_index(z, i, 0, &st);
        QByteArray data(static_cast<qsizetype>(st.size), '\0');
        zip_file_t* f = zip_fopen_index(z, i, 0);
        zip_fread(f, data.data(), st.size);
        zip_fclose(f);
        parts_[st.name] = data;
        order_.push_back(st.name);
    }
    zip_discard(z);
}

QDomDocument Book::doc(const std::string& part) const {
    auto it = parts_.find(part);
    if (it == parts_.end()) throw std::runtime_error("no part " + part);
    QDomDocument d;
    if (!d.setContent(it->second)) throw std::runtime_error("malformed XML in " + part);
    return d;
}

std::vector<std::string> Book::sheetNames() const {
    std::vector<std::string> names;
    const QDomElement sheets = firstChild(doc("xl/workbook.xml").documentElement(), "sheets");
    for (const QDomElement& s : childList(sheets, "sheet")) names.push_back(str(s.attribute("name")));
    return names;
}

std::map<std::string, std::string> Book::workbookRelationships() const {
    std::map<std::string, std::string> rels;
    for (const QDomElement& r : childList(doc("xl/_rels/workbook.xml.rels").documentElement(), "Relationship"))
        rels[str(r.attribute("Id"))] = str(r.attribute("Target"));
    return rels;
}

std::string Book::sheetPart(const std::string& sheet) const {
    const QDomElement sheets = firstChild(doc("xl/workbook.xml").documentElement(), "sheets");
    for (const QDomElement& s : childList(sheets, "sheet"))
        if (str(s.attribute("name")) == sheet) {
            const std::string target = workbookRelationships().at(str(s.attribute("r:id")));
            return target.rfind("/", 0) == 0 ? target.substr(1) : "xl/" + target;
        }
    throw std::runtime_error("no sheet " + sheet);
}

Cell Book::cell(const std::string& sheet, const std::string& address) const {
    Cell out;
    const QDomElement data = firstChild(doc(sheetPart(sheet)).documentElement(), "sheetData");
    for (const QDomElement& row : childList(data, "row"))
        for (const QDomElement& c : childList(row, "c")) {
            if (str(c.attribute("r")) != address) continue;
            out.present = true;
            out.type = str(c.attribute("t"));
            out.style = c.attribute("s", "0").toInt();
            out.hasFormula = !firstChild(c, "f").isNull();
            if (out.type == "inlineStr") out.value = str(firstChild(firstChild(c, "is"), "t").text());
            else out.value = str(firstChild(c, "v").text());
            return out;
        }
    return out;
}

std::vector<std::string> Book::selectedTabs() const {
    std::vector<std::string> names;
    for (const std::string& name : sheetNames()) {
        const QDomElement view =
            firstChild(firstChild(doc(sheetPart(name)).documentElement(), "sheetViews"), "sheetView");
        if (view.attribute("tabSelected") == "1" || view.attribute("tabSelected") == "true") names.push_back(name);
    }
    return names;
}

int Book::activeTab() const {
    const QDomElement view =
        firstChild(firstChild(doc("xl/workbook.xml").documentElement(), "bookViews"), "workbookView");
    return view.attribute("activeTab", "0").toInt();
}

std::map<std::pair<std::string, int>, std::string> Book::definedNames() const {
    std::map<std::pair<std::string, int>, std::string> out;
    const QDomElement names = firstChild(doc("xl/workbook.xml").documentElement(), "definedNames");
    for (const QDomElement& n : childList(names, "definedName"))
        out[{str(n.attribute("name")), n.attribute("localSheetId", "-1").toInt()}] = str(n.text());
    return out;
}

std::string Book::contentType(const std::string& part) const {
    const QDomElement types = doc("[Content_Types].xml").documentElement();
    for (const QDomElement& o : childList(types, "Override"))
        if (str(o.attribute("PartName")) == part) return str(o.attribute("ContentType"));
    const std::string ext = part.substr(part.rfind('.') + 1);
    for (const QDomElement& d : childList(types, "Default"))
        if (str(d.attribute("Extension")) == ext) return str(d.attribute("ContentType"));
    return {};
}

}  // namespace xlsxtest
