// DELETE. From one table: one SQLite DELETE. DELETE t.* FROM a join: the rows of t
// that take part in the join (INNER, LEFT with IS NULL, RIGHT) under the WHERE.
#include "jet/text.h"
#include "jet/translate.h"

namespace jet::detail {

std::shared_ptr<Plan> plan_delete(Session& s, const sql::Delete& q) {
    Binder b(s);
    std::string from = b.from_list(q.from);
    const auto& src = b.sources();
    std::string where;
    if (q.where) where = Binder::cond_sql(b.expr(*q.where));

    auto p = std::make_shared<StatementPlan>();
    if (src.size() == 1) {
        if (!q.star_qualifier.empty() && !text::same_name(q.star_qualifier, src[0].alias))
            raise(Fault::NoSuchTable, q.star_qualifier);
        p->sql = "DELETE FROM " + src[0].sql_table + " AS " + src[0].sql_alias;
        if (!where.empty()) p->sql += " WHERE " + where;
    } else {
        // Several tables: the one named before ".*" loses its rows that take part.
        if (q.star_qualifier.empty()) raise(Fault::SyntaxError, "DELETE statement: specify the table to delete from");
        int target = -1;
        for (size_t i = 0; i < src.size(); ++i)
            if (text::same_name(src[i].alias, q.star_qualifier)) target = static_cast<int>(i);
        if (target < 0) raise(Fault::NoSuchTable, q.star_qualifier);
        const Source& t = src[target];
        if (t.nested) raise(Fault::Internal, "DELETE from a table inside a parenthesised outer join");
        p->sql = "DELETE FROM " + t.sql_table + " WHERE rowid IN (SELECT " + t.sql_alias + ".rowid FROM " + from;
        if (!where.empty()) p->sql += " WHERE " + where;
        p->sql += ")";
    }
    p->params = b.params();
    return p;
}

}  // namespace jet::detail
