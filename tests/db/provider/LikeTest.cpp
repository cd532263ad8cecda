#include "BaseTemporal.h"

#include "../../fuzz/LikeReferencia.h"
#include "db/provider/SqlServerText.h"

#include <random>

using rp::db::mssql::likeMatch;
using rp::db::mssql::Text;

// Many % before a character the text lacks: the matcher must give up in
// O(pattern x text) steps. The old back-tracking one took hours here.
TEST(Like, ManyWildcardRunsFinishQuickly) {
    Text patron;
    for (int i = 0; i < 40; ++i)
        patron += U"% ";
    patron += U"x";
    const Text texto(400, U' ');
    EXPECT_FALSE(likeMatch(patron, 0, texto, 0, 0));
    EXPECT_TRUE(likeMatch(patron, 0, texto + U"x", 0, 0));

    rp::prueba::BaseTemporal db;
    db.ejecutar(QStringLiteral("CREATE TABLE T (D VARCHAR(500))"));
    db.ejecutar(QStringLiteral("INSERT INTO T VALUES (?)"), {QString(300, u' ') + u'y'});
    const QString bound = QStringLiteral("% ").repeated(30) + u'x';
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE D LIKE ?"), {bound}),
              QStringLiteral("0"));
    EXPECT_EQ(db.escalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE D LIKE ?"),
                         {QStringLiteral("% ").repeated(30) + u'y'}),
              QStringLiteral("1"));
}

// Random short patterns and texts over a small alphabet: the matcher agrees
// with a plain dynamic-programming one.
TEST(Like, AgreesWithTheReferenceMatcher) {
    std::mt19937 azar(20261209);
    const char32_t alfabeto[] = {U'a', U'B', U'b', U'%', U'_', U'[', U']', U'^', U'-', U'!', U'z'};
    auto texto = [&](int largo) {
        Text t;
        for (int i = 0; i < largo; ++i)
            t += alfabeto[azar() % std::size(alfabeto)];
        return t;
    };
    for (int n = 0; n < 20000; ++n) {
        const Text p = texto(int(azar() % 9));
        const Text s = texto(int(azar() % 9));
        const char32_t escape = (n % 3 == 0) ? U'!' : 0;
        ASSERT_EQ(likeMatch(p, 0, s, 0, escape), rp::prueba::likeReferencia(p, s, escape))
            << "pattern " << rp::db::mssql::encodeUtf8(p) << " text "
            << rp::db::mssql::encodeUtf8(s) << " escape " << (escape ? "!" : "none");
    }
}
