#include "sheet/workbook.h"

#include <QDomDocument>
#include <QDomElement>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>

#include "package.h"
#include "rtl/errors.h"
#include "sheet/cellref.h"

namespace sheet {
namespace {

namespace fs = std::filesystem;
using detail::Part;

constexpr const char* kWorksheetType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
constexpr const char* kOfficeDocumentType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr const char* kCalcChainType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/calcChain";
constexpr const char* kContentTypesPart = "[Content_Types].xml";

[[noreturn]] void fail(const std::string& text) { throw rtl::AutomationError(text); }

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& q) { return q.toStdString(); }

// Element names are compared without their namespace prefix, so parts
// written with a prefix ("x:sheet") read the same as the usual ones.
QString localName(const QDomElement& e) {
    const QString tag = e.tagName();
    const qsizetype colon = tag.indexOf(u':');
    return colon < 0 ? tag : tag.mid(colon + 1);
}

QString prefixOf(const QDomElement& e) {
    const QString tag = e.tagName();
    const qsizetype colon = tag.indexOf(u':');
    return colon < 0 ? QString() : tag.left(colon);
}

QDomElement child(const QDomElement& parent, const QString& name) {
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (localName(e) == name) return e;
    return {};
}

std::vector<QDomElement> children(const QDomElement& parent, const QString& name) {
    std::vector<QDomElement> out;
    for (QDomElement e = parent.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        if (localName(e) == name) out.push_back(e);
    return out;
}

// A new element in the same namespace prefix as `parent`.
QDomElement makeElement(QDomDocument& doc, const QDomElement& parent, const QString& name) {
    const QString prefix = prefixOf(parent);
    return doc.createElement(prefix.isEmpty() ? name : prefix + u':' + name);
}

// The attribute holding a relationship id ("r:id" under whatever prefix).
QString relIdAttribute(const QDomElement& e) {
    const QDomNamedNodeMap attrs = e.attributes();
    for (int i = 0; i < attrs.count(); ++i) {
        const QString name = attrs.item(i).nodeName();
        if (name.endsWith(QStringLiteral(":id"))) return name;
    }
    return {};
}

std::string folderOf(const std::string& part) {
    const std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string fileOf(const std::string& part) {
    const std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? part : part.substr(slash + 1);
}

std::string relsPartOf(const std::string& part) { return folderOf(part) + "_rels/" + fileOf(part) + ".rels"; }

// A relationship target taken against the folder of its source part.
std::string resolveTarget(const std::string& sourcePart, const std::string& target) {
    std::string joined = !target.empty() && target[0] == '/' ? target.substr(1) : folderOf(sourcePart) + target;
    std::vector<std::string> segments;
    std::size_t from = 0;
    while (from <= joined.size()) {
        const std::size_t slash = joined.find('/', from);
        const std::string seg = joined.substr(from, slash == std::string::npos ? std::string::npos : slash - from);
        if (seg == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!seg.empty() && seg != ".") {
            segments.push_back(seg);
        }
        if (slash == std::string::npos) break;
        from = slash + 1;
    }
    std::string out;
    for (const std::string& seg : segments) out += (out.empty() ? "" : "/") + seg;
    return out;
}

// Sheet names in references: quoted unless plain letters, digits and
// underscores not starting with a digit; an apostrophe is doubled.
std::string quoteSheetName(const std::string& name) {
    bool plain = !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0]));
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) plain = false;
    if (plain) return name;
    std::string quoted = "'";
    for (char c : name) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return quoted + "'";
}

// Rewrites the sheet references of a defined name's formula ("Sheet1!$A$1:$B$2",
// "'Sheet1'!$A:$H,'Sheet1'!$1:$7") from sheet `from` to sheet `to`.
std::string retargetFormula(const std::string& formula, const std::string& from, const std::string& to) {
    std::string out;
    std::size_t i = 0;
    const auto isNameChar = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' ||
               static_cast<unsigned char>(c) >= 0x80;
    };
    while (i < formula.size()) {
        if (formula[i] == '\'') {
            std::string name;
            std::size_t j = i + 1;
            for (; j < formula.size(); ++j) {
                if (formula[j] == '\'') {
                    if (j + 1 < formula.size() && formula[j + 1] == '\'') {
                        name += '\'';
                        ++j;
                        continue;
                    }
                    break;
                }
                name += formula[j];
            }
            const std::size_t end = std::min(j + 1, formula.size());
            if (end < formula.size() && formula[end] == '!' && name == from) out += quoteSheetName(to);
            else out += formula.substr(i, end - i);
            i = end;
        } else if (isNameChar(formula[i]) && (i == 0 || !isNameChar(formula[i - 1]))) {
            std::size_t j = i;
            while (j < formula.size() && isNameChar(formula[j])) ++j;
            const std::string word = formula.substr(i, j - i);
            out += (j < formula.size() && formula[j] == '!' && word == from) ? quoteSheetName(to) : word;
            i = j;
        } else {
            out += formula[i++];
        }
    }
    return out;
}

std::string numberText(double value) {
    if (!std::isfinite(value)) fail("セルに書き込めない数値です");
    if (value == 0) value = 0;  // no "-0"
    // Plain decimals for the values a sheet usually holds ("300000", not "3e+05").
    const double magnitude = std::fabs(value);
    const auto format = (magnitude == 0 || (magnitude >= 1e-6 && magnitude < 1e15)) ? std::chars_format::fixed
                                                                                    : std::chars_format::general;
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format);
    return std::string(buffer, result.ptr);
}

// XML 1.0 cannot carry most control characters; they are dropped.
QString xmlSafe(const std::string& text) {
    QString out = q(text);
    out.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r'; });
    return out;
}

int intAttribute(const QDomElement& e, const QString& name, int fallback) {
    bool ok = false;
    const int v = e.attribute(name).toInt(&ok);
    return ok ? v : fallback;
}

}  // namespace

struct Workbook::Impl {
    std::string sourcePath;
    std::vector<Part> parts;
    std::map<std::string, QDomDocument> docs;  // parts parsed for editing
    std::string workbookPart;

    Part* findPart(const std::string& name) {
        for (Part& p : parts)
            if (p.name == name) return &p;
        return nullptr;
    }

    QDomDocument& doc(const std::string& name) {
        auto it = docs.find(name);
        if (it != docs.end()) return it->second;
        Part* part = findPart(name);
        if (!part) fail("ブックの部品 '" + name + "' がありません");
        QDomDocument d;
        QString error;
        int line = 0;
        if (!d.setContent(part->data, false, &error, &line))
            fail("ブックの部品 '" + name + "' を読めません: " + s(error));
        return docs.emplace(name, std::move(d)).first->second;
    }

    QDomElement root(const std::string& name) { return doc(name).documentElement(); }

    std::string workbookRelsPart() const { return relsPartOf(workbookPart); }

    QDomElement sheetsElement() {
        QDomElement sheets = child(root(workbookPart), QStringLiteral("sheets"));
        if (sheets.isNull()) fail("ブックにシートの一覧がありません");
        return sheets;
    }

    std::vector<QDomElement> sheetElements() { return children(sheetsElement(), QStringLiteral("sheet")); }

    int sheetIndex(const std::string& name) {
        const auto sheets = sheetElements();
        for (std::size_t i = 0; i < sheets.size(); ++i)
            if (sheets[i].attribute(QStringLiteral("name")) == q(name)) return static_cast<int>(i);
        fail("シート '" + name + "' がありません");
    }

    QDomElement relationship(const std::string& relsPart, const QString& id) {
        for (const QDomElement& r : children(root(relsPart), QStringLiteral("Relationship")))
            if (r.attribute(QStringLiteral("Id")) == id) return r;
        return {};
    }

    std::string sheetPart(const std::string& name) {
        const QDomElement sheet = sheetElements()[static_cast<std::size_t>(sheetIndex(name))];
        const QDomElement rel = relationship(workbookRelsPart(), sheet.attribute(relIdAttribute(sheet)));
        if (rel.isNull()) fail("シート '" + name + "' の部品が見つかりません");
        return resolveTarget(workbookPart, s(rel.attribute(QStringLiteral("Target"))));
    }

    QDomElement worksheet(const std::string& name) { return root(sheetPart(name)); }

    void dropCalcChain();
    void setCell(const std::string& sheetName, const std::string& address,
                 const std::function<void(QDomDocument&, QDomElement&)>& fill);
};

// The calculation chain lists formula cells; once cells are rewritten it may
// name cells that hold no formula any more, which spreadsheet programs treat
// as damage. It is optional and rebuilt by them, so it is left out.
void Workbook::Impl::dropCalcChain() {
    const std::string relsPart = workbookRelsPart();
    if (!findPart(relsPart)) return;
    QDomElement rels = root(relsPart);
    for (QDomElement r : children(rels, QStringLiteral("Relationship"))) {
        if (r.attribute(QStringLiteral("Type")) != QLatin1String(kCalcChainType)) continue;
        const std::string target = resolveTarget(workbookPart, s(r.attribute(QStringLiteral("Target"))));
        rels.removeChild(r);
        std::erase_if(parts, [&](const Part& p) { return p.name == target; });
        docs.erase(target);
        QDomElement types = root(kContentTypesPart);
        for (QDomElement o : children(types, QStringLiteral("Override")))
            if (o.attribute(QStringLiteral("PartName")) == q("/" + target)) types.removeChild(o);
    }
}

Workbook::Workbook(std::unique_ptr<Impl> impl) : d_(std::move(impl)) {}
Workbook::Workbook(Workbook&&) noexcept = default;
Workbook& Workbook::operator=(Workbook&&) noexcept = default;
Workbook::~Workbook() = default;

Workbook Workbook::open(const std::string& templatePath) {
    auto impl = std::make_unique<Impl>();
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(templatePath, ec);
    impl->sourcePath = ec ? templatePath : canonical.string();
    impl->parts = detail::readPackage(templatePath);
    if (!impl->findPart(kContentTypesPart) || !impl->findPart("_rels/.rels"))
        fail("'" + templatePath + "' はブックではありません");
    for (const QDomElement& r : children(impl->root("_rels/.rels"), QStringLiteral("Relationship")))
        if (r.attribute(QStringLiteral("Type")) == QLatin1String(kOfficeDocumentType))
            impl->workbookPart = resolveTarget("", s(r.attribute(QStringLiteral("Target"))));
    if (impl->workbookPart.empty() || !impl->findPart(impl->workbookPart))
        fail("'" + templatePath + "' はブックではありません");
    impl->sheetElements();  // checks the sheet list is there
    impl->dropCalcChain();
    return Workbook(std::move(impl));
}

std::vector<std::string> Workbook::sheetNames() const {
    std::vector<std::string> names;
    for (const QDomElement& e : d_->sheetElements()) names.push_back(s(e.attribute(QStringLiteral("name"))));
    return names;
}

bool Workbook::hasSheet(const std::string& name) const {
    for (const std::string& n : sheetNames())
        if (QString::compare(q(n), q(name), Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool validSheetName(const std::string& name) {
    const QString n = q(name);
    if (n.isEmpty() || n.size() > 31 || n.startsWith(u'\'') || n.endsWith(u'\'')) return false;
    for (QChar c : n)
        if (QStringLiteral(":\\/?*[]").contains(c)) return false;
    return true;
}

void Workbook::copySheet(const std::string& source, const std::string& after, const std::string& newName) {
    Impl& d = *d_;
    if (!validSheetName(newName)) fail("シート名 '" + newName + "' は使えません");
    if (hasSheet(newName)) fail("シート '" + newName + "' は既にあります");
    const int sourceIndex = d.sheetIndex(source);
    const int afterIndex = d.sheetIndex(after);
    const std::string sourcePart = d.sheetPart(source);
    QDomElement sourceSheet = d.sheetElements()[static_cast<std::size_t>(sourceIndex)];

    // The new part beside the source: sheet<n>.xml with the first free n.
    const std::string folder = folderOf(sourcePart);
    std::string newPart;
    for (int n = 1;; ++n) {
        newPart = folder + "sheet" + std::to_string(n) + ".xml";
        if (!d.findPart(newPart)) break;
    }
    d.parts.push_back({newPart, {}});
    QDomDocument copy = d.doc(sourcePart).cloneNode(true).toDocument();
    // The copy starts unselected; activate() chooses the selected tab.
    for (QDomElement v :
         children(child(copy.documentElement(), QStringLiteral("sheetViews")), QStringLiteral("sheetView")))
        v.removeAttribute(QStringLiteral("tabSelected"));
    d.docs[newPart] = copy;
    // The sheet's own relationships (printer settings and the like) go with it.
    if (Part* rels = d.findPart(relsPartOf(sourcePart))) {
        const QByteArray data = rels->data;
        const auto parsed = d.docs.find(rels->name);
        d.parts.push_back({relsPartOf(newPart), parsed != d.docs.end() ? parsed->second.toByteArray(-1) : data});
    }

    // Relationship from the workbook.
    QDomDocument& relsDoc = d.doc(d.workbookRelsPart());
    QDomElement relsRoot = relsDoc.documentElement();
    const QDomElement sourceRel =
        d.relationship(d.workbookRelsPart(), sourceSheet.attribute(relIdAttribute(sourceSheet)));
    QString newId;
    for (int n = 1;; ++n) {
        newId = QStringLiteral("rId%1").arg(n);
        if (d.relationship(d.workbookRelsPart(), newId).isNull()) break;
    }
    QString target = sourceRel.attribute(QStringLiteral("Target"));
    target = target.left(target.lastIndexOf(u'/') + 1) + q(fileOf(newPart));
    QDomElement rel = makeElement(relsDoc, relsRoot, QStringLiteral("Relationship"));
    rel.setAttribute(QStringLiteral("Id"), newId);
    rel.setAttribute(QStringLiteral("Type"), QLatin1String(kWorksheetType));
    rel.setAttribute(QStringLiteral("Target"), target);
    relsRoot.appendChild(rel);

    // Content type, as the source part has it.
    QDomDocument& typesDoc = d.doc(kContentTypesPart);
    QDomElement typesRoot = typesDoc.documentElement();
    for (const QDomElement& o : children(typesRoot, QStringLiteral("Override"))) {
        if (o.attribute(QStringLiteral("PartName")) != q("/" + sourcePart)) continue;
        QDomElement override = makeElement(typesDoc, typesRoot, QStringLiteral("Override"));
        override.setAttribute(QStringLiteral("PartName"), q("/" + newPart));
        override.setAttribute(QStringLiteral("ContentType"), o.attribute(QStringLiteral("ContentType")));
        typesRoot.appendChild(override);
        break;
    }

    // The sheet's entry, right after `after`.
    QDomDocument& book = d.doc(d.workbookPart);
    int maxId = 0;
    for (const QDomElement& e : d.sheetElements())
        maxId = std::max(maxId, intAttribute(e, QStringLiteral("sheetId"), 0));
    QDomElement entry = makeElement(book, sourceSheet, QStringLiteral("sheet"));
    entry.setAttribute(QStringLiteral("name"), q(newName));
    entry.setAttribute(QStringLiteral("sheetId"), maxId + 1);
    entry.setAttribute(relIdAttribute(sourceSheet), newId);
    d.sheetsElement().insertAfter(entry, d.sheetElements()[static_cast<std::size_t>(afterIndex)]);
    const int newIndex = afterIndex + 1;

    // Sheet positions after the new one move up by one: local names, the
    // active tab and the first visible tab follow.
    const QDomElement bookRoot = book.documentElement();
    QDomElement names = child(bookRoot, QStringLiteral("definedNames"));
    const int shiftedSource = sourceIndex >= newIndex ? sourceIndex + 1 : sourceIndex;
    if (!names.isNull()) {
        std::vector<QDomElement> ofSource;
        for (QDomElement n : children(names, QStringLiteral("definedName"))) {
            const int local = intAttribute(n, QStringLiteral("localSheetId"), -1);
            if (local >= newIndex) n.setAttribute(QStringLiteral("localSheetId"), local + 1);
            if (local >= 0 && (local >= newIndex ? local + 1 : local) == shiftedSource) ofSource.push_back(n);
        }
        for (const QDomElement& n : ofSource) {
            QDomElement copyName = n.cloneNode(true).toElement();
            copyName.setAttribute(QStringLiteral("localSheetId"), newIndex);
            while (copyName.hasChildNodes()) copyName.removeChild(copyName.firstChild());
            copyName.appendChild(book.createTextNode(q(retargetFormula(s(n.text()), source, newName))));
            names.insertAfter(copyName, n);
        }
    }
    if (QDomElement view = child(child(bookRoot, QStringLiteral("bookViews")), QStringLiteral("workbookView"));
        !view.isNull()) {
        for (const QString& attr : {QStringLiteral("activeTab"), QStringLiteral("firstSheet")}) {
            const int v = intAttribute(view, attr, -1);
            if (v >= newIndex) view.setAttribute(attr, v + 1);
        }
    }
}

void Workbook::activate(const std::string& name) {
    Impl& d = *d_;
    const int index = d.sheetIndex(name);
    for (const std::string& other : sheetNames()) {
        QDomDocument& doc = d.doc(d.sheetPart(other));
        QDomElement ws = doc.documentElement();
        QDomElement views = child(ws, QStringLiteral("sheetViews"));
        if (views.isNull()) {
            if (other != name) continue;
            // sheetViews comes after sheetPr and dimension, before the rest.
            views = makeElement(doc, ws, QStringLiteral("sheetViews"));
            QDomElement before;
            for (QDomElement e = ws.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
                if (localName(e) != QLatin1String("sheetPr") && localName(e) != QLatin1String("dimension")) {
                    before = e;
                    break;
                }
            }
            if (before.isNull()) ws.appendChild(views);
            else ws.insertBefore(views, before);
        }
        QDomElement view = child(views, QStringLiteral("sheetView"));
        if (view.isNull()) {
            view = makeElement(doc, views, QStringLiteral("sheetView"));
            view.setAttribute(QStringLiteral("workbookViewId"), 0);
            views.appendChild(view);
        }
        for (QDomElement v : children(views, QStringLiteral("sheetView")))
            v.removeAttribute(QStringLiteral("tabSelected"));
        if (other == name) view.setAttribute(QStringLiteral("tabSelected"), 1);
    }
    QDomDocument& book = d.doc(d.workbookPart);
    QDomElement bookRoot = book.documentElement();
    QDomElement bookViews = child(bookRoot, QStringLiteral("bookViews"));
    if (bookViews.isNull()) {
        bookViews = makeElement(book, bookRoot, QStringLiteral("bookViews"));
        bookRoot.insertBefore(bookViews, d.sheetsElement());
    }
    QDomElement view = child(bookViews, QStringLiteral("workbookView"));
    if (view.isNull()) {
        view = makeElement(book, bookViews, QStringLiteral("workbookView"));
        bookViews.appendChild(view);
    }
    view.setAttribute(QStringLiteral("activeTab"), index);
    if (intAttribute(view, QStringLiteral("firstSheet"), 0) > index)
        view.setAttribute(QStringLiteral("firstSheet"), index);
}

std::string Workbook::activeSheet() const {
    const QDomElement view =
        child(child(d_->root(d_->workbookPart), QStringLiteral("bookViews")), QStringLiteral("workbookView"));
    const int index = view.isNull() ? 0 : intAttribute(view, QStringLiteral("activeTab"), 0);
    const auto names = sheetNames();
    return index >= 0 && index < static_cast<int>(names.size()) ? names[static_cast<std::size_t>(index)]
                                                                : std::string();
}

void Workbook::Impl::setCell(const std::string& sheetName, const std::string& address,
                             const std::function<void(QDomDocument&, QDomElement&)>& fill) {
    const CellRef ref = parseCell(address);
    const std::string name = cellName(ref);
    QDomDocument& d = doc(sheetPart(sheetName));
    QDomElement ws = d.documentElement();
    QDomElement data = child(ws, QStringLiteral("sheetData"));
    if (data.isNull()) fail("シート '" + sheetName + "' にセルの領域がありません");

    // The row, in row order.
    QDomElement row;
    int implied = 0;
    for (QDomElement r : children(data, QStringLiteral("row"))) {
        const int n = intAttribute(r, QStringLiteral("r"), implied + 1);
        implied = n;
        if (n == ref.row) {
            row = r;
            break;
        }
        if (n > ref.row) {
            row = makeElement(d, data, QStringLiteral("row"));
            row.setAttribute(QStringLiteral("r"), ref.row);
            data.insertBefore(row, r);
            break;
        }
    }
    if (row.isNull()) {
        row = makeElement(d, data, QStringLiteral("row"));
        row.setAttribute(QStringLiteral("r"), ref.row);
        data.appendChild(row);
    }
    row.removeAttribute(QStringLiteral("spans"));  // a hint only; it may no longer hold

    // The cell, in column order.
    QDomElement cell;
    int impliedColumn = 0;
    for (QDomElement c : children(row, QStringLiteral("c"))) {
        const int column = c.hasAttribute(QStringLiteral("r")) ? parseCell(s(c.attribute(QStringLiteral("r")))).column
                                                               : impliedColumn + 1;
        impliedColumn = column;
        if (column == ref.column) {
            cell = c;
            break;
        }
        if (column > ref.column) {
            cell = makeElement(d, row, QStringLiteral("c"));
            row.insertBefore(cell, c);
            break;
        }
    }
    if (cell.isNull()) {
        cell = makeElement(d, row, QStringLiteral("c"));
        row.appendChild(cell);
    }
    cell.setAttribute(QStringLiteral("r"), q(name));
    if (!cell.hasAttribute(QStringLiteral("s"))) {
        // A cell the template leaves out looks as its row or column does.
        QString style;
        if (row.attribute(QStringLiteral("customFormat")) == QLatin1String("1"))
            style = row.attribute(QStringLiteral("s"));
        if (style.isEmpty()) {
            for (const QDomElement& col : children(child(ws, QStringLiteral("cols")), QStringLiteral("col"))) {
                if (intAttribute(col, QStringLiteral("min"), 0) <= ref.column &&
                    ref.column <= intAttribute(col, QStringLiteral("max"), 0))
                    style = col.attribute(QStringLiteral("style"));
            }
        }
        if (!style.isEmpty() && style != QLatin1String("0")) cell.setAttribute(QStringLiteral("s"), style);
    }
    cell.removeAttribute(QStringLiteral("t"));
    while (cell.hasChildNodes()) cell.removeChild(cell.firstChild());
    fill(d, cell);

    // The used range grows to take the cell in.
    QDomElement dimension = child(ws, QStringLiteral("dimension"));
    if (!dimension.isNull()) {
        const QStringList bounds = dimension.attribute(QStringLiteral("ref")).split(u':');
        try {
            CellRef lo = parseCell(s(bounds.value(0)));
            CellRef hi = bounds.size() > 1 ? parseCell(s(bounds.value(1))) : lo;
            lo = {std::min(lo.column, ref.column), std::min(lo.row, ref.row)};
            hi = {std::max(hi.column, ref.column), std::max(hi.row, ref.row)};
            dimension.setAttribute(QStringLiteral("ref"), q(cellName(lo) + ":" + cellName(hi)));
        } catch (const rtl::AutomationError&) {
            dimension.setAttribute(QStringLiteral("ref"), q(name));
        }
    }
}

void Workbook::setNumber(const std::string& sheetName, const std::string& address, double value) {
    const QString text = q(numberText(value));
    d_->setCell(sheetName, address, [&](QDomDocument& doc, QDomElement& cell) {
        QDomElement v = makeElement(doc, cell, QStringLiteral("v"));
        v.appendChild(doc.createTextNode(text));
        cell.appendChild(v);
    });
}

void Workbook::setDate(const std::string& sheetName, const std::string& address, double serial) {
    setNumber(sheetName, address, serial);
}

void Workbook::setText(const std::string& sheetName, const std::string& address, const std::string& text) {
    const QString value = xmlSafe(text);
    d_->setCell(sheetName, address, [&](QDomDocument& doc, QDomElement& cell) {
        cell.setAttribute(QStringLiteral("t"), QStringLiteral("inlineStr"));
        QDomElement is = makeElement(doc, cell, QStringLiteral("is"));
        QDomElement t = makeElement(doc, cell, QStringLiteral("t"));
        if (value != value.trimmed()) t.setAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        t.appendChild(doc.createTextNode(value));
        is.appendChild(t);
        cell.appendChild(is);
    });
}

void Workbook::saveAs(const std::string& path) const {
    std::error_code ec;
    const fs::path target = fs::weakly_canonical(path, ec);
    if (!ec && target.string() == d_->sourcePath) throw rtl::FileError(rtl::msg::cannotWriteFile(path), path);

    // The content types first, then every part in its stored order.
    std::vector<Part> out;
    out.reserve(d_->parts.size());
    auto serialized = [&](const Part& p) {
        const auto it = d_->docs.find(p.name);
        return Part{p.name, it != d_->docs.end() ? it->second.toByteArray(-1) : p.data};
    };
    for (const Part& p : d_->parts)
        if (p.name == kContentTypesPart) out.push_back(serialized(p));
    for (const Part& p : d_->parts)
        if (p.name != kContentTypesPart) out.push_back(serialized(p));

    const fs::path finalPath(path);
    const fs::path folder = finalPath.has_parent_path() ? finalPath.parent_path() : fs::path(".");
    const fs::path temp = folder / ("." + finalPath.filename().string() + "." +
                                    QUuid::createUuid().toString(QUuid::Id128).left(12).toStdString() + ".tmp");
    detail::writePackage(temp.string(), out);
    fs::rename(temp, finalPath, ec);
    if (ec) {
        fs::remove(temp, ec);
        throw rtl::FileError(rtl::msg::cannotWriteFile(path), path);
    }
}

}  // namespace sheet
