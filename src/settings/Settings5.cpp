#include "settings/Settings5.h"

#include "sysutil/SaveFile.h"

#include <QDomProcessingInstruction>
#include <QDomText>
#include <QFile>
#include <QHash>

#include <algorithm>

#include <unordered_map>
#include <vector>

namespace {
// QDomNode offers no hash; its private pointer is the identity of the node, stable while it lives.
struct TNodeIdentity : QDomNode {
    static const void *Of(const QDomNode &node) { return node.*(&TNodeIdentity::impl); }
};

// The text of an element that holds nothing or one text node; nothing for any other content.
std::optional<QString> SingleText(const QDomElement &element) {
    const QDomNode first = element.firstChild();
    if (first.isNull()) return QString();
    if (!first.nextSibling().isNull() || !first.isText()) // CDATA counts as text
        return std::nullopt;
    return first.toText().data();
}

// Decimal digits with an optional leading minus, nothing else.
bool IsWholeNumber(const QString &text) {
    const qsizetype start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.size() == start) return false;
    for (qsizetype i = start; i < text.size(); ++i)
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9')) return false;
    return true;
}

std::optional<int> ParseInt(const std::optional<QString> &text) {
    if (!text || !IsWholeNumber(*text)) return std::nullopt;
    bool ok = false;
    const int value = text->toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<bool> ParseBool(const std::optional<QString> &text) {
    if (!text) return std::nullopt;
    if (text->compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
    if (text->compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
    if (!IsWholeNumber(*text)) return std::nullopt;
    return std::any_of(text->begin(), text->end(),
                       [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); });
}

// Characters that an XML 1.0 document can hold; anything else would make the saved file unreadable.
bool IsXmlText(const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            continue;
        }
        const bool allowed =
            c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD);
        if (!allowed) return false;
    }
    return true;
}

// The first child element of that name, appended empty when there is none (and the parent exists).
QDomElement FindOrAppend(QDomElement parent, const QString &name) {
    QDomElement child = parent.firstChildElement(name);
    if (child.isNull() && !parent.isNull()) {
        child = parent.ownerDocument().createElement(name);
        parent.appendChild(child);
    }
    return child;
}

// Writing a scalar: the element's whole content becomes one text node.
void ReplaceText(QDomElement element, const QString &text) {
    while (element.hasChildNodes())
        element.removeChild(element.firstChild());
    element.appendChild(element.ownerDocument().createTextNode(text));
}

// A child's integer without adding the child: the index must not change the document it indexes.
std::optional<int> PeekInt(const QDomElement &item, const QString &name) {
    const QDomElement child = item.firstChildElement(name);
    return child.isNull() ? std::nullopt : ParseInt(SingleText(child));
}
} // namespace

bool SameText(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// What the views of one document share: the document itself and, for every list in use, its items
// in order and (for lists looked up by an integer) the first index of every key. The document stays
// the only source of truth: every change made through a view keeps these up to date or drops them
// (to be rebuilt from the document on next use), and an answer naming an item that has left the
// list is caught and rebuilt before it is returned.
class TXMLDocumentContext {
public:
    struct TListIndex {
        QDomElement list;
        QString itemName;
        bool itemsValid = false;
        std::vector<QDomElement> items;
        QString keyName; // empty: no key index
        bool keysValid = false;
        struct TKeyEntry {
            qsizetype first = -1; // index of the first item holding the key
            qsizetype count = 0;  // items holding it
        };
        QHash<int, TKeyEntry> keys;

        void Rebuild() {
            items.clear();
            for (QDomElement e = list.firstChildElement(itemName); !e.isNull();
                 e = e.nextSiblingElement(itemName))
                items.push_back(e);
            itemsValid = true;
            keysValid = false;
        }
        void EnsureItems() {
            if (!itemsValid) Rebuild();
        }
        int KeyOf(const QDomElement &item) const { return PeekInt(item, keyName).value_or(0); }
        qsizetype FirstWith(int key) const { return keys.value(key).first; }
        void NoteKey(int key, qsizetype index) {
            TKeyEntry &entry = keys[key];
            if (entry.count++ == 0 || index < entry.first) entry.first = index;
        }
        void DropKey(int key) {
            const auto entry = keys.find(key);
            if (entry != keys.end() && --entry->count == 0) keys.erase(entry);
        }
        // The item that was last is gone: an earlier item holding its key stays the first one.
        void ForgetLastKey(const QDomElement &item) { DropKey(KeyOf(item)); }
        void RebuildKeys(const QString &name) {
            EnsureItems();
            keyName = name;
            keys.clear();
            for (qsizetype i = 0; i < qsizetype(items.size()); ++i)
                NoteKey(KeyOf(items[i]), i);
            keysValid = true;
        }
        bool Holds(qsizetype index) const {
            return index >= 0 && index < qsizetype(items.size()) && items[index].parentNode() == list;
        }
    };

    explicit TXMLDocumentContext(QDomDocument document) : document(std::move(document)) {}

    TListIndex &Index(const QDomElement &list, const QString &itemName) {
        TListIndex &index = indexes[TNodeIdentity::Of(list)];
        if (index.list != list || index.itemName != itemName) {
            index = TListIndex();
            index.list = list;
            index.itemName = itemName;
        }
        return index;
    }

    // The key of an item changed from oldKey to newKey: keep its list's index in step.
    void KeyChanged(const QDomElement &item, const QString &keyName, int oldKey, int newKey) {
        const auto found = indexes.find(TNodeIdentity::Of(item.parentNode()));
        if (found == indexes.end() || oldKey == newKey) return;
        TListIndex &index = found->second;
        if (!index.keysValid || index.keyName != keyName || item.tagName() != index.itemName) return;
        // Followed step by step when the item is the first holding its old key or the last item (a
        // record just added); anything rarer rebuilds the index on its next use.
        const qsizetype first = index.FirstWith(oldKey);
        qsizetype position = -1;
        if (index.Holds(first) && index.items[first] == item)
            position = first;
        else if (!index.items.empty() && index.items.back() == item)
            position = qsizetype(index.items.size()) - 1;
        if (first < 0 || position < 0 || (position == first && index.keys.value(oldKey).count > 1)) {
            index.keysValid = false;
            return;
        }
        index.DropKey(oldKey);
        index.NoteKey(newKey, position);
    }

    QDomDocument document;

private:
    std::unordered_map<const void *, TListIndex> indexes;
};

// ---- TXMLNodeView ---------------------------------------------------------------------------------

TXMLNodeView::TXMLNodeView(QDomElement element, std::shared_ptr<TXMLDocumentContext> context)
    : element(std::move(element)), context(std::move(context)) {}

QDomElement TXMLNodeView::Child(const QString &name) const {
    return FindOrAppend(element, name);
}

QString TXMLNodeView::ReadText(const QString &name, const QString &fallback) const {
    return SingleText(Child(name)).value_or(fallback);
}

bool TXMLNodeView::ReadBool(const QString &name, bool defaultValue) const {
    return ParseBool(SingleText(Child(name))).value_or(defaultValue);
}

int TXMLNodeView::ReadInt(const QString &name, int defaultValue) const {
    return ParseInt(SingleText(Child(name))).value_or(defaultValue);
}

bool TXMLNodeView::WriteText(const QString &name, const QString &value) const {
    if (element.isNull() || !IsXmlText(value)) return false;
    ReplaceText(Child(name), value);
    return true;
}

bool TXMLNodeView::WriteBool(const QString &name, bool value) const {
    return WriteText(name, value ? QStringLiteral("True") : QStringLiteral("False"));
}

bool TXMLNodeView::WriteInt(const QString &name, int value) const {
    return WriteText(name, QString::number(value));
}

bool TXMLNodeView::WriteKey(const QString &name, int value) const {
    const int old = ReadInt(name, 0);
    if (!WriteInt(name, value)) return false;
    if (context) context->KeyChanged(element, name, old, value);
    return true;
}

// ---- Lists ----------------------------------------------------------------------------------------

TXMLListBase::TXMLListBase(QDomElement list, std::shared_ptr<TXMLDocumentContext> context, QString itemName)
    : TXMLNodeView(std::move(list), std::move(context)), itemName(std::move(itemName)) {}

int TXMLListBase::Count() const {
    if (IsNull()) return 0;
    auto &index = context->Index(element, itemName);
    index.EnsureItems();
    return int(index.items.size());
}

QDomElement TXMLListBase::ItemElement(int position) const {
    if (IsNull()) return QDomElement();
    auto &index = context->Index(element, itemName);
    index.EnsureItems();
    if (position >= 0 && position < qsizetype(index.items.size()) && !index.Holds(position)) index.Rebuild();
    return index.Holds(position) ? index.items[position] : QDomElement();
}

QDomElement TXMLListBase::AddElement() const {
    if (IsNull()) return QDomElement();
    QDomElement list = element; // a handle: the copy changes the same element
    QDomElement item = list.appendChild(element.ownerDocument().createElement(itemName)).toElement();
    auto &index = context->Index(element, itemName);
    if (index.itemsValid) {
        index.items.push_back(item);
        if (index.keysValid)
            index.NoteKey(0, qsizetype(index.items.size()) - 1); // a new item has no key: it reads 0
    }
    return item;
}

QDomElement TXMLListBase::InsertElement(int position) const {
    const int count = Count();
    if (position == count) return AddElement();
    const QDomElement before = ItemElement(position);
    if (before.isNull()) return QDomElement();
    QDomElement list = element;
    QDomElement item = list.insertBefore(element.ownerDocument().createElement(itemName), before).toElement();
    auto &index = context->Index(element, itemName);
    index.items.insert(index.items.begin() + position, item);
    index.keysValid = false;
    return item;
}

bool TXMLListBase::Delete(int position) const {
    const QDomElement item = ItemElement(position);
    if (item.isNull()) return false;
    QDomElement(element).removeChild(item);
    auto &index = context->Index(element, itemName);
    const bool last = position + 1 == qsizetype(index.items.size());
    index.items.erase(index.items.begin() + position);
    if (last && index.keysValid)
        index.ForgetLastKey(item); // no other item moves
    else
        index.keysValid = false;
    return true;
}

void TXMLListBase::Clear() const {
    if (IsNull()) return;
    auto &index = context->Index(element, itemName);
    index.EnsureItems();
    QDomElement list = element;
    for (const QDomElement &item : index.items)
        list.removeChild(item);
    index.items.clear();
    index.keys.clear();
}

int TXMLListBase::RemoveElement(const QDomElement &item) const {
    if (IsNull() || item.parentNode() != element) return -1;
    auto &index = context->Index(element, itemName);
    index.EnsureItems();
    const auto found = std::find(index.items.begin(), index.items.end(), item);
    if (found == index.items.end()) return -1;
    const int position = int(found - index.items.begin());
    Delete(position);
    return position;
}

int TXMLListBase::IndexOfText(const QString &keyName, const QString &key) const {
    const int count = Count();
    for (int i = 0; i < count; ++i)
        if (SameText(SingleText(FindOrAppend(ItemElement(i), keyName)).value_or(QString()), key)) return i;
    return -1;
}

int TXMLListBase::IndexOfInt(const QString &keyName, int key) const {
    if (IsNull()) return -1;
    auto &index = context->Index(element, itemName);
    index.EnsureItems();
    if (!index.keysValid || index.keyName != keyName) index.RebuildKeys(keyName);
    qsizetype position = index.FirstWith(key);
    if (position >= 0 && !index.Holds(position)) {
        index.Rebuild();
        index.RebuildKeys(keyName);
        position = index.FirstWith(key);
    }
    return int(position);
}

// ---- Text lists -----------------------------------------------------------------------------------

std::optional<QString> TXMLTextList::Item(int position) const {
    const QDomElement item = ItemElement(position);
    if (item.isNull()) return std::nullopt;
    return SingleText(item).value_or(QString());
}

bool TXMLTextList::SetItem(int position, const QString &text) const {
    const QDomElement item = ItemElement(position);
    if (item.isNull() || !IsXmlText(text)) return false;
    ReplaceText(item, text);
    return true;
}

bool TXMLTextList::Add(const QString &text) const {
    // Checked first so that a text the file cannot hold leaves no empty item behind.
    if (IsNull() || !IsXmlText(text)) return false;
    ReplaceText(AddElement(), text);
    return true;
}

bool TXMLTextList::Insert(int position, const QString &text) const {
    if (!IsXmlText(text) || InsertElement(position).isNull()) return false;
    return SetItem(position, text);
}

int TXMLTextList::IndexOfItemText(const QString &text) const {
    const int count = Count();
    for (int i = 0; i < count; ++i)
        if (Item(i) == text) return i;
    return -1;
}

int TXMLTextList::Remove(const QString &text) const {
    const int position = IndexOfItemText(text);
    if (position >= 0) Delete(position);
    return position;
}

// ---- Lookups --------------------------------------------------------------------------------------

int TXMLForwardcontactsListType::IndexOfForwardContact(const QString &handle) const {
    const int count = Count();
    for (int i = 0; i < count; ++i)
        if (SameText(Item(i).value_or(QString()), handle)) return i;
    return -1;
}

int TXMLContactsListType::FindContactByHandle(const QString &handle) const {
    return IndexOfText(QStringLiteral("HANDLE"), handle);
}

int TXMLSplashScreensType::IndexOfSplashScreen(const QString &text) const {
    return IndexOfText(QStringLiteral("SSText"), text);
}

int TXMLOrviTabsType::IndexOfTab(const QString &tabName) const {
    return IndexOfText(QStringLiteral("TabName"), tabName);
}

int TXMLOwnerTypeList::IndexOfOwner(const QString &skypeHandle) const {
    return IndexOfText(QStringLiteral("SkypeHandle"), skypeHandle);
}

// ---- Documents ------------------------------------------------------------------------------------

namespace {
const QString RootName = QStringLiteral("Settings");

TXMLSettingsType RootOf(QDomDocument document) {
    const QDomElement root = document.documentElement();
    return TXMLSettingsType(root, std::make_shared<TXMLDocumentContext>(std::move(document)));
}
} // namespace

namespace {
std::optional<QDomDocument> Parse(const QByteArray &bytes, QString &error) {
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(bytes, false, &message, &line, &column)) {
        error =
            QStringLiteral("not well-formed XML (line %1, column %2: %3)").arg(line).arg(column).arg(message);
        return std::nullopt;
    }
    return document;
}

// Processing instructions mean nothing in this file, and Qt writes each one with a line break after
// it, which would grow a text that follows by one line per save. They are dropped on loading.
void DropInstructions(const QDomElement &root) {
    std::vector<QDomNode> pending{root};
    while (!pending.empty()) {
        QDomNode parent = pending.back();
        pending.pop_back();
        for (QDomNode child = parent.firstChild(); !child.isNull();) {
            const QDomNode next = child.nextSibling();
            if (child.isProcessingInstruction())
                parent.removeChild(child);
            else if (child.isElement())
                pending.push_back(child);
            child = next;
        }
    }
}
} // namespace

TSettingsLoad ParseSettings(const QByteArray &bytes) {
    QString error;
    std::optional<QDomDocument> document = Parse(bytes, error);
    if (!document) return {TXMLSettingsType(), error};
    if (document->documentElement().tagName() != RootName)
        return {TXMLSettingsType(), QStringLiteral("the root element is not Settings")};
    DropInstructions(document->documentElement());
    // The parser lets some characters through that XML forbids (a NUL in a processing instruction);
    // such a file would be saved as one that no longer loads, so it is refused here.
    if (!Parse(document->toByteArray(-1), error))
        return {TXMLSettingsType(), QStringLiteral("characters that XML does not allow")};
    return {RootOf(std::move(*document)), QString()};
}

TSettingsLoad LoadSettings(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {TXMLSettingsType(), file.errorString()};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return {TXMLSettingsType(), file.errorString()};
    return ParseSettings(bytes);
}

TXMLSettingsType NewSettings() {
    QDomDocument document;
    document.appendChild(document.createProcessingInstruction(
        QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"UTF-8\"")));
    document.appendChild(document.createElement(RootName));
    return RootOf(std::move(document));
}

QByteArray SerializeSettings(const TXMLSettingsType &root) {
    QDomDocument document = root.Element().ownerDocument();
    // The text is always written as UTF-8, so a declaration read from the file must say so.
    QDomNode first = document.firstChild();
    if (first.isProcessingInstruction() && first.toProcessingInstruction().target() == QLatin1String("xml"))
        first.toProcessingInstruction().setData(QStringLiteral("version=\"1.0\" encoding=\"UTF-8\""));
    return document.toByteArray(-1);
}

QString SaveSettingsFile(const TXMLSettingsType &root, const QString &path) {
    if (root.IsNull()) return QStringLiteral("no settings document");
    return SaveFileAtomically(path, SerializeSettings(root));
}
