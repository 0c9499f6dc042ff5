#include "tests/frame/store_fixture.h"

#include "frame/language.h"
#include "frame/program_state.h"

bool LoadShippedLanguage(const char* code) {
    QString name = QString::fromLatin1(code);
    return qvs::LoadLanguage(name);
}

ardeko::clsPW& FreshStore() {
    qvs::App().store = std::make_unique<ardeko::clsPW>();
    return qvs::Store();
}
