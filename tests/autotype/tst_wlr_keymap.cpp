// The keymaps the virtual keyboard uploads, read back as a Wayland client
// reads them: every character of a login, in any script, is one key at the
// first level of a keymap xkbcommon accepts; Tab and Enter are their keys;
// and a text with more different characters than a keymap may hold goes
// through several keymaps, in typing order.
#include "autotype/wlr_keymap.h"

#include <xkbcommon/xkbcommon-keysyms.h>
#include <xkbcommon/xkbcommon.h>

#include <QTest>

#include <memory>

using namespace qvs;

namespace {

template <typename T, void (*Free)(T*)> struct Deleter {
    void operator()(T* p) const { Free(p); }
};
using Context = std::unique_ptr<xkb_context, Deleter<xkb_context, xkb_context_unref>>;
using Keymap = std::unique_ptr<xkb_keymap, Deleter<xkb_keymap, xkb_keymap_unref>>;
using State = std::unique_ptr<xkb_state, Deleter<xkb_state, xkb_state_unref>>;

// What a client with no modifier down receives for the batches' keys; ""
// and a failure when a keymap does not compile or a key gives no symbol.
QString Received(const std::vector<wlr::KeyBatch>& batches) {
    const Context context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    QString text;
    for (const wlr::KeyBatch& batch : batches) {
        const Keymap keymap(xkb_keymap_new_from_string(context.get(), batch.keymap.c_str(),
                                                       XKB_KEYMAP_FORMAT_TEXT_V1,
                                                       XKB_KEYMAP_COMPILE_NO_FLAGS));
        if (!keymap) {
            QTest::qFail("a keymap does not compile", __FILE__, __LINE__);
            return {};
        }
        const State state(xkb_state_new(keymap.get()));
        for (const std::uint32_t key : batch.keys) {
            const xkb_keysym_t sym = xkb_state_key_get_one_sym(state.get(), key + 8);
            if (sym == XKB_KEY_Tab)
                text += QStringLiteral("<TAB>");
            else if (sym == XKB_KEY_Return)
                text += QStringLiteral("<ENTER>");
            else if (const char32_t c = xkb_keysym_to_utf32(sym))
                text += QString::fromUcs4(&c, 1);
            else
                text += QStringLiteral("<?>");
        }
    }
    return text;
}

KeyStrokes Text(const QString& text) {
    return {{KeyStroke::Kind::Text, text}};
}

} // namespace

class TestWlrKeymap : public QObject {
    Q_OBJECT

private slots:
    void everyCharacterTypesAsItStands() {
        const KeyStrokes login{{KeyStroke::Kind::Text, QStringLiteral("jürgen.ß{x}")},
                               {KeyStroke::Kind::Tab, {}},
                               {KeyStroke::Kind::Text, QStringLiteral("p€ñ|~\"\\@ A^`'Ωж中😀")},
                               {KeyStroke::Kind::Enter, {}}};
        const auto batches = wlr::PlanKeys(wlr::KeySymsOf(login));
        QCOMPARE(batches.size(), std::size_t{1});
        QCOMPARE(Received(batches), QStringLiteral("jürgen.ß{x}<TAB>p€ñ|~\"\\@ A^`'Ωж中😀<ENTER>"));
        // One key per different symbol: repeats press the same key.
        const auto repeated = wlr::PlanKeys(wlr::KeySymsOf(Text(QStringLiteral("aaAa"))));
        QCOMPARE(repeated.front().keys, (std::vector<std::uint32_t>{1, 1, 2, 1}));
        // Line breaks and tabs inside a text are the keys, not characters.
        QCOMPARE(Received(wlr::PlanKeys(wlr::KeySymsOf(Text(QStringLiteral("a\tb\nc\r\n"))))),
                 QStringLiteral("a<TAB>b<ENTER>c<ENTER><ENTER>"));
        QVERIFY(wlr::PlanKeys(wlr::KeySymsOf(Text(QString()))).empty());
    }

    void aLongTextOfManyCharactersGoesThroughSeveralKeymaps() {
        QString text;
        for (char32_t c = 0x4e00; c < 0x4e00 + 450; ++c)
            text += QString::fromUcs4(&c, 1);
        text += text.left(10); // characters of the first keymap, needed again at the end
        const auto batches = wlr::PlanKeys(wlr::KeySymsOf(Text(text)), 200);
        QCOMPARE(batches.size(), std::size_t{3});
        for (const auto& batch : batches)
            QVERIFY(QByteArray::fromStdString(batch.keymap).count("key <K") <= 200);
        QCOMPARE(Received(batches), text);
    }
};

QTEST_APPLESS_MAIN(TestWlrKeymap)
#include "tst_wlr_keymap.moc"
