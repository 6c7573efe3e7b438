// The recursive-descent parser shared by the parse_*.cpp files (one file per
// construct). Not part of the engine's interface: include parser.h instead.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "jet/sql/ast.h"
#include "jet/sql/lexer.h"

namespace jet::sql::detail {

class Parser {
  public:
    explicit Parser(std::string_view text);
    Statement statement();

  private:
    // ---- tokens (parser.cpp)
    const Token& peek(size_t k = 0) const {
        size_t i = pos_ + k;
        return i < toks_.size() ? toks_[i] : toks_.back();
    }
    const Token& next() { return pos_ + 1 < toks_.size() ? toks_[pos_++] : toks_.back(); }
    bool at(Tok k) const { return peek().kind == k; }
    bool at_kw(std::string_view kw) const { return peek().is(kw); }
    bool accept(Tok k);
    bool accept_kw(std::string_view kw);
    void expect(Tok k);
    void expect_kw(std::string_view kw);
    void expect_end() const;  // the statement ends here (";" or the end of the text)
    bool at_name() const;     // a bare name that is not reserved, or a bracketed name
    std::string name();       // reads such a name, fails otherwise
    std::string_view slice(uint32_t begin, uint32_t end) const {
        return src_.substr(begin, end - begin);
    }
    uint32_t prev_end() const { return pos_ == 0 ? 0 : toks_[pos_ - 1].end; }

    // ---- errors: the clause being read decides the wording
    [[noreturn]] void fail() const;                               // "Syntax error in <context_>."
    [[noreturn]] void fail_expression(size_t start_token) const;  // missing operator
    struct Context {  // sets the clause for the errors of a scope
        Context(Parser& p, const char* c) : p_(p), saved_(p.context_) { p.context_ = c; }
        ~Context() { p_.context_ = saved_; }
        Parser& p_;
        const char* saved_;
    };
    struct Depth {  // guards recursion: kMaxNesting levels at most
        explicit Depth(Parser& p);
        ~Depth() { --p_.depth_; }
        Parser& p_;
    };

    // ---- expressions (parse_expr.cpp)
    ExprPtr expression();  // a top-level expression of a clause
    ExprPtr binary(int min_prec);
    ExprPtr primary();
    ExprPtr column_or_call();
    ExprPtr literal_date();
    void end_of_expression(size_t start_token, std::initializer_list<std::string_view> kws);

    // ---- queries (parse_select.cpp)
    Select select();
    void select_items(Select& s);
    std::vector<TableRefPtr> source_list();
    TableRefPtr source();
    TableRefPtr source_primary();
    void table_name(std::string& database, std::string& name);

    // ---- data changes (parse_dml.cpp)
    Insert insert();
    Update update();
    Delete delete_();

    // ---- definitions (parse_ddl.cpp)
    CreateTable create_table();
    CreateIndex create_index(bool unique);
    AlterTable alter_table();
    Statement drop();
    ColumnDef column_def();
    TypeSpec type_spec();
    ConstraintDef constraint_def();
    std::vector<std::string> name_list();

    std::string_view src_;
    std::vector<Token> toks_;
    size_t pos_ = 0;
    int depth_ = 0;
    const char* context_ = "SQL statement";
    bool expr_errors_in_context_ = false;  // expression errors use context_ (DDL defaults)
    size_t expr_start_ = 0;                // first token of the current top-level expression
};

}  // namespace jet::sql::detail
