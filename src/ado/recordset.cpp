// ADO's Recordset on the engine stand-in.
//
// The rows are read at once (RecordCount is exact) into a compact column store,
// with the engine's row id of each base row a result row was made from. A
// recordset that can add rows, over a query whose rows can wait (one table, see
// jet::rows_can_wait), reads them only when first needed (RecordCount counts them
// without reading), or before anything is written to the file, whichever comes
// first, so that one opened only to add a row never reads the table; the rows it
// adds itself meanwhile are told apart by row id. A static
// recordset shows the values of that moment (and its own saves); a keyset recordset
// reads the current values of a row's base columns again each time it moves onto it.
// Writes go back to the base rows by row id, one table occurrence at a time, so
// recordsets over joins, self-joins and tables without a key are updatable; the
// recordset is never reordered or requeried by its own writes.
//
// Optimistic locking: the changes of the current record stay pending until Update,
// UpdateBatch or a move saves them; a save that fails raises the engine's failure and
// keeps them pending, to be corrected and saved again or cancelled.
#include <algorithm>
#include <optional>
#include <unordered_map>

#include "ado/ado.h"
#include "ado/find_criteria.h"
#include "ado/row_store.h"
#include "jet/database.h"
#include "jet/reports.h"
#include "jet/rowaccess.h"
#include "jet/text.h"
#include "jet/trace.h"

namespace ado {

using jet::Fault;

namespace {

enum class RowState : uint8_t { Live, Deleted, Gone };

// A table occurrence of the query whose rows make the recordset's rows.
struct RowSource {
    std::string table;  // Jet table name
    std::string alias;  // the alias or table name the query reads it under
};

// The column of a row source that a field shows.
struct SourceField {
    int field;
    std::string column;  // Jet column name
};

// The edit in progress (AddNew or a changed field, until Update or CancelUpdate). At
// namespace scope: a nested class with default member initialisers is not yet
// default-constructible inside its enclosing class, which optional::emplace() needs.
struct Pending {
    int64_t row = 0;
    bool is_new = false;
    int64_t return_to = 0;  // the row current before AddNew
    std::vector<std::optional<jet::Value>> values;
};

}  // namespace

struct Recordset::Impl {
    std::shared_ptr<jet::Database> db;
    bool keyset = false;
    bool updatable = false;

    std::vector<jet::ColumnMeta> meta;
    std::vector<std::string> names;  // the names fields answer to
    std::vector<int> source_of;      // per field: its row source, -1 when not writable
    std::vector<RowSource> sources;
    std::vector<std::vector<SourceField>> source_fields;  // per source

    RowStore store;
    std::vector<int64_t> rowids;  // rows x sources
    std::vector<RowState> state;
    int64_t live = 0;
    int64_t pos = -1;  // -1 before the first row, rows() after the last

    std::optional<Pending> pending;

    // Rows not read yet: the query's cursor, not stepped. Until the rows are read the
    // store holds only the rows added through the recordset (own_rows: their row ids),
    // live counts them, and pos is kUnread (the first row) or one of them.
    static constexpr int64_t kUnread = -2;
    std::unique_ptr<jet::Cursor> unread;
    std::string sql;
    std::optional<int64_t> unread_count;  // the query's rows, when counted
    std::vector<int64_t> own_rows;
    uint64_t write_key = 0;                  // the callback that reads them before a write
    std::optional<jet::Error> read_failure;  // reading them before a write failed
    std::vector<int> visible, hidden;        // the cursor's fields and row-id columns
    // Expires with the recordset: a callback left waiting in the session does nothing.
    std::shared_ptr<int> alive = std::make_shared<int>(0);

    // For the shape observer (jet/trace.h): the query's text, and whether a field of one
    // of its rows was read before the recordset added a row (one opened to add rows reads
    // what it adds).
    std::string observed_sql;
    bool field_read = false;
    bool added = false;

    ~Impl() {
        stop_waiting();
        if (jet::detail::shape_observer != nullptr && !observed_sql.empty())
            jet::detail::shape_observer->closed(observed_sql, field_read,
                                                pos != kUnread && pos >= 0 && pos < rows());
    }

    int64_t rows() const { return static_cast<int64_t>(store.rows()); }
    int64_t& rowid(int64_t row, size_t source) {
        return rowids[static_cast<size_t>(row) * sources.size() + source];
    }

    // The connection's database; its values stay readable after the connection
    // closes, but nothing goes back to the file.
    jet::Database& database() const {
        if (!db || !db->is_open()) jet::raise(Fault::ObjectClosed);
        return *db;
    }
    bool has_current() const {
        return pos >= 0 && pos < rows() && state[static_cast<size_t>(pos)] == RowState::Live;
    }
    void require_current() const {
        if (!has_current()) jet::raise(Fault::NoCurrentRecord);
    }
    void require_updatable() const {
        database();
        if (!updatable) jet::raise(Fault::NotUpdatable, "Recordset");
    }

    int field_index(std::string_view name) const;
    void describe(const jet::Cursor& cursor);
    void load(jet::Cursor& cursor);
    void map_sources();
    void wait_for_write();
    void stop_waiting();
    void read_all();
    bool on_added_row() const { return pos >= 0 && pos < rows(); }

    jet::Value read(int field);
    void write(int field, const jet::Value& v);
    void save();
    void reread(int64_t row, size_t source);
    void arrive(int64_t row);
    void move_to_live(int64_t from);
};

namespace {

// The names fields answer to: the query's names, with "alias.column" for a name
// that more than one column of the query has.
std::vector<std::string> answer_names(const std::vector<jet::ColumnMeta>& meta) {
    std::unordered_map<std::string, int> count;
    for (const auto& m : meta) ++count[jet::text::fold(m.name)];
    std::vector<std::string> names;
    names.reserve(meta.size());
    for (const auto& m : meta) {
        if (count[jet::text::fold(m.name)] > 1 && !m.table_alias.empty() &&
            m.name.find('.') == std::string::npos)
            names.push_back(m.table_alias + "." + m.name);
        else
            names.push_back(m.name);
    }
    return names;
}

}  // namespace

int Recordset::Impl::field_index(std::string_view name) const {
    for (size_t i = 0; i < names.size(); ++i)
        if (jet::text::same_name(names[i], name)) return static_cast<int>(i);
    jet::raise(Fault::ItemNotFound, name);
}

void Recordset::Impl::map_sources() {
    source_of.assign(meta.size(), -1);
    source_fields.assign(sources.size(), {});
    for (size_t f = 0; f < meta.size(); ++f) {
        const auto& m = meta[f];
        if (m.base_table.empty() || m.base_column.empty()) continue;
        int found = -1;
        for (size_t s = 0; s < sources.size(); ++s) {
            const auto& src = sources[s];
            const bool by_alias =
                !m.table_alias.empty() && jet::text::same_name(src.alias, m.table_alias);
            const bool by_table =
                m.table_alias.empty() && jet::text::same_name(src.table, m.base_table);
            if ((by_alias || by_table) && jet::text::same_name(src.table, m.base_table)) {
                found = static_cast<int>(s);
                break;
            }
        }
        if (found < 0) continue;
        source_of[f] = found;
        source_fields[static_cast<size_t>(found)].push_back({static_cast<int>(f), m.base_column});
    }
}

// Takes the query's fields, then (with row ids asked for) one hidden column per
// table read, holding the row id of that table's row.
void Recordset::Impl::describe(const jet::Cursor& cursor) {
    const auto& all = cursor.columns();
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i].row_id) {
            hidden.push_back(static_cast<int>(i));
            sources.push_back({all[i].base_table, all[i].table_alias});
        } else {
            visible.push_back(static_cast<int>(i));
            meta.push_back(all[i]);
        }
    }
    names = answer_names(meta);
    map_sources();
    store = RowStore(meta.size());
}

// Reads the rows (into an empty store), leaving out those the recordset added itself.
void Recordset::Impl::load(jet::Cursor& cursor) {
    const size_t ncols = meta.size();
    std::vector<int64_t> ids(hidden.size());
    while (cursor.next()) {
        for (size_t h = 0; h < hidden.size(); ++h) {
            const jet::Value id = cursor.value(hidden[h]);
            ids[h] = id.is_null() || id.is_empty() ? 0 : static_cast<int64_t>(id.to_double());
        }
        if (!own_rows.empty() && std::binary_search(own_rows.begin(), own_rows.end(), ids[0]))
            continue;
        const size_t r = store.add_row();
        for (size_t c = 0; c < ncols; ++c) store.set(r, c, cursor.value(visible[c]));
        rowids.insert(rowids.end(), ids.begin(), ids.end());
    }
    state.assign(store.rows(), RowState::Live);
    live = rows();
}

// Has the rows read before the next write to the file.
void Recordset::Impl::wait_for_write() {
    std::weak_ptr<int> check = alive;
    write_key = jet::before_next_write(database(), [this, check]() {
        if (check.expired()) return;
        write_key = 0;
        try {
            read_all();
        } catch (const jet::Error& e) {
            read_failure = e;
        }
    });
}

void Recordset::Impl::stop_waiting() {
    if (write_key && db && db->is_open()) jet::cancel_before_write(*db, write_key);
    write_key = 0;
}

// Reads the rows not read yet: they go before the rows added meanwhile, and the
// current record and the pending one follow their rows. A failure to read them (here
// or before a write) is raised by every use that needs them.
void Recordset::Impl::read_all() {
    if (read_failure) throw *read_failure;
    if (!unread) return;
    stop_waiting();
    std::unique_ptr<jet::Cursor> cursor = std::move(unread);
    RowStore added = std::move(store);
    std::vector<int64_t> added_ids = std::move(rowids);
    std::vector<RowState> added_state = std::move(state);
    const int64_t added_live = live;
    store = RowStore(meta.size());
    rowids.clear();
    std::sort(own_rows.begin(), own_rows.end());
    try {
        load(*cursor);
    } catch (const jet::Error& e) {
        read_failure = e;
        throw;
    }
    const int64_t n = rows();
    for (size_t r = 0; r < added.rows(); ++r) {
        const size_t to = store.add_row();
        for (size_t c = 0; c < meta.size(); ++c) store.set(to, c, added.get(r, c));
    }
    rowids.insert(rowids.end(), added_ids.begin(), added_ids.end());
    state.insert(state.end(), added_state.begin(), added_state.end());
    live += added_live;
    own_rows.clear();
    unread_count.reset();
    if (pending) {
        pending->row += n;
        pending->return_to = pending->return_to == kUnread ? 0 : pending->return_to + n;
    }
    // The first row, as at the open (a keyset recordset has just read its values).
    pos = pos == kUnread ? 0 : pos + n;
}

jet::Value Recordset::Impl::read(int field) {
    if (unread && !on_added_row()) read_all();
    require_current();
    field_read = field_read || !added;
    if (field < 0 || static_cast<size_t>(field) >= meta.size())
        jet::raise(Fault::ItemNotFound, std::to_string(field));
    if (pending && pending->row == pos && pending->values[static_cast<size_t>(field)]) {
        // A pending value reads as the field will keep it, when it converts.
        const jet::Value& v = *pending->values[static_cast<size_t>(field)];
        const auto& m = meta[static_cast<size_t>(field)];
        try {
            return v.is_empty() ? jet::Value::null() : v.coerce_to(m.type, m.size);
        } catch (const jet::Error&) {
            return v;
        }
    }
    return store.get(static_cast<size_t>(pos), static_cast<size_t>(field));
}

void Recordset::Impl::write(int field, const jet::Value& v) {
    require_updatable();
    if (unread && !(pending && pending->is_new && pending->row == pos)) read_all();
    require_current();
    if (field < 0 || static_cast<size_t>(field) >= meta.size())
        jet::raise(Fault::ItemNotFound, std::to_string(field));
    const int s = source_of[static_cast<size_t>(field)];
    const bool is_new = pending && pending->is_new && pending->row == pos;
    if (s < 0 || (!is_new && rowid(pos, static_cast<size_t>(s)) == 0))
        jet::raise(Fault::NotUpdatable, names[static_cast<size_t>(field)]);
    if (!pending) {
        pending.emplace();
        pending->row = pos;
        pending->values.resize(meta.size());
    }
    pending->values[static_cast<size_t>(field)] = v;
}

// Reads the base columns of one source of a row again; a row that is gone leaves
// the record deleted.
void Recordset::Impl::reread(int64_t row, size_t source) {
    const int64_t id = rowid(row, source);
    const auto& fields = source_fields[source];
    if (id == 0 || fields.empty()) return;
    std::vector<std::string> columns;
    columns.reserve(fields.size());
    for (const auto& f : fields) columns.push_back(f.column);
    const auto values = jet::read_row(database(), sources[source].table, id, columns);
    if (!values) {
        state[static_cast<size_t>(row)] = RowState::Gone;
        return;
    }
    for (size_t i = 0; i < fields.size(); ++i)
        store.set(static_cast<size_t>(row), static_cast<size_t>(fields[i].field), (*values)[i]);
}

// Makes a row current; a keyset recordset reads its current values.
void Recordset::Impl::arrive(int64_t row) {
    pos = row;
    if (!keyset || !has_current()) return;
    for (size_t s = 0; s < sources.size(); ++s) reread(row, s);
}

// Moves to the first live row from `from` on, or past the end.
void Recordset::Impl::move_to_live(int64_t from) {
    int64_t r = from < 0 ? 0 : from;
    while (r < rows() && state[static_cast<size_t>(r)] == RowState::Deleted) ++r;
    arrive(r);
}

// Saves the pending changes: a new record is inserted into each table occurrence
// that has a value (the only one when the recordset reads one table); an edited
// record updates the base rows of the occurrences it changed. All of it is atomic.
// Afterwards the record shows the base rows as stored (counters, defaults,
// converted values). On failure the changes stay pending.
void Recordset::Impl::save() {
    if (!pending) return;
    if (unread && !pending->is_new) read_all();
    Pending& p = *pending;
    std::vector<jet::ColumnValues> per_source(sources.size());
    for (size_t f = 0; f < p.values.size(); ++f) {
        if (!p.values[f]) continue;
        const int s = source_of[f];
        if (s < 0) continue;
        jet::Value v = p.values[f]->is_empty() ? jet::Value::null() : *p.values[f];
        per_source[static_cast<size_t>(s)].emplace_back(meta[f].base_column, std::move(v));
    }
    jet::Database& d = database();
    bool any_value = false;
    for (const auto& values : per_source) any_value = any_value || !values.empty();
    std::vector<int64_t> new_ids(sources.size(), 0);
    // A row added before the rows are read is the recordset's own write: the rows it
    // reads later leave it out.
    const bool own = static_cast<bool>(unread);
    if (own) stop_waiting();
    struct Rewait {
        Impl* im;
        bool on;
        ~Rewait() {
            try {
                if (on && im->unread) im->wait_for_write();
            } catch (const jet::Error&) {
                // The connection is closed: nothing more is written through it.
            }
        }
    } rewait{this, own};
    // The shape observer learns the row meant, whether or not the file takes it.
    if (jet::detail::shape_observer != nullptr && !observed_sql.empty())
        for (size_t s = 0; s < sources.size(); ++s)
            if (p.is_new ? !(per_source[s].empty() && (any_value || s != 0))
                         : !per_source[s].empty())
                jet::detail::shape_observer->row_written(observed_sql, sources[s].table,
                                                         p.is_new ? 'I' : 'U', per_source[s]);
    jet::atomically(d, [&]() {
        for (size_t s = 0; s < sources.size(); ++s) {
            auto& values = per_source[s];
            if (p.is_new) {
                // A record added with no value at all goes to the first table.
                if (values.empty() && (any_value || s != 0)) continue;
                new_ids[s] = jet::insert_row(d, sources[s].table, values);
            } else if (!values.empty()) {
                if (jet::reports::enabled())
                    jet::report_null_overwrite(d, sources[s].table, rowid(p.row, s), values);
                jet::update_row(d, sources[s].table, rowid(p.row, s), values);
            }
        }
    });
    if (own) own_rows.push_back(new_ids[0]);
    const int64_t row = p.row;
    const bool inserted = p.is_new;
    std::vector<bool> touched(sources.size());
    for (size_t s = 0; s < sources.size(); ++s) {
        if (inserted) rowid(row, s) = new_ids[s];
        touched[s] = inserted ? new_ids[s] != 0 : !per_source[s].empty();
    }
    pending.reset();
    if (inserted) {
        for (size_t f = 0; f < meta.size(); ++f)
            store.set(static_cast<size_t>(row), f, jet::Value::null());
    }
    for (size_t s = 0; s < sources.size(); ++s)
        if (touched[s]) reread(row, s);
}

Recordset::Recordset() = default;

Recordset::~Recordset() = default;

Recordset::Impl& Recordset::impl() {
    if (!impl_) jet::raise(Fault::ObjectClosed);
    return *impl_;
}

void Recordset::Open(std::string_view sql, Connection& conn, int cursor_type, int lock_type, int) {
    if (impl_) jet::raise(Fault::ObjectOpen);
    auto im = std::make_unique<Impl>();
    im->db = conn.shared_database();
    im->keyset = cursor_type == adOpenKeyset || cursor_type == 2;  // keyset or dynamic
    const bool read_only = lock_type == adLockReadOnly;
    // A read-only static recordset never goes back to its rows: it needs no row ids.
    jet::QueryOptions options;
    options.row_ids = !read_only || im->keyset;
    auto cursor = im->db->query(sql, options);
    if (jet::detail::shape_observer != nullptr) im->observed_sql = sql;
    im->describe(*cursor);
    im->updatable = !read_only && !im->sources.empty();
    if (im->updatable && im->sources.size() == 1 && jet::rows_can_wait(*im->db, sql)) {
        im->sql = sql;
        im->unread = std::move(cursor);
        im->pos = Impl::kUnread;
        im->wait_for_write();
    } else {
        im->load(*cursor);
        im->move_to_live(0);
    }
    impl_ = std::move(im);
}

void Recordset::Close() {
    if (!impl_) jet::raise(Fault::ObjectClosed);
    // Changes never saved are dropped, as ADO drops them with the recordset.
    impl_.reset();
}

int Recordset::State() const {
    return impl_ ? adStateOpen : adStateClosed;
}

int32_t Recordset::RecordCount() const {
    if (!impl_) jet::raise(Fault::ObjectClosed);
    Impl& im = *impl_;
    if (im.unread && !im.unread_count && (!im.own_rows.empty() || !im.db->is_open())) im.read_all();
    if (im.unread) {
        // Nothing was written since the open but the recordset's own rows (counted
        // before the first of them): the query's rows now are its rows then.
        if (!im.unread_count) im.unread_count = jet::count_rows(*im.db, im.sql);
        return static_cast<int32_t>(*im.unread_count + im.live);
    }
    return static_cast<int32_t>(im.live);
}

bool Recordset::Eof() const {
    if (!impl_) jet::raise(Fault::ObjectClosed);
    impl_->read_all();
    return impl_->live == 0 || impl_->pos >= impl_->rows();
}

bool Recordset::Bof() const {
    if (!impl_) jet::raise(Fault::ObjectClosed);
    impl_->read_all();
    return impl_->live == 0 || impl_->pos < 0;
}

void Recordset::MoveNext() {
    Impl& im = impl();
    // A record just deleted stays current until the move, the last live one too, as in
    // ADO: deleting it leaves EOF to the move.
    const bool can_move = !Eof() || (im.pos >= 0 && im.pos < im.rows() &&
                                     im.state[static_cast<size_t>(im.pos)] == RowState::Deleted);
    if (!can_move) jet::raise(Fault::NoCurrentRecord);
    im.save();
    im.move_to_live(im.pos + 1);
}

void Recordset::MoveFirst() {
    Impl& im = impl();
    im.read_all();
    im.save();
    im.move_to_live(0);
}

void Recordset::Find(std::string_view criteria) {
    Impl& im = impl();
    const auto c = FindCriterion::parse(criteria);
    const int field = im.field_index(c.column);
    im.read_all();
    im.save();
    for (int64_t r = im.pos < 0 ? 0 : im.pos; r < im.rows(); ++r) {
        if (im.state[static_cast<size_t>(r)] != RowState::Live) continue;
        im.arrive(r);
        if (im.has_current() &&
            c.matches(im.store.get(static_cast<size_t>(r), static_cast<size_t>(field))))
            return;
    }
    im.pos = im.rows();
}

int Recordset::FieldCount() const {
    if (!impl_) jet::raise(Fault::ObjectClosed);
    return static_cast<int>(impl_->meta.size());
}

Field Recordset::Fields(int index) {
    Impl& im = impl();
    if (index < 0 || static_cast<size_t>(index) >= im.meta.size())
        jet::raise(Fault::ItemNotFound, std::to_string(index));
    return Field(this, index);
}

Field Recordset::Fields(std::string_view name) {
    return Field(this, impl().field_index(name));
}

void Recordset::AddNew() {
    Impl& im = impl();
    im.require_updatable();
    im.save();
    im.added = true;
    const int64_t before = im.pos;
    const int64_t row = static_cast<int64_t>(im.store.add_row());
    for (size_t f = 0; f < im.meta.size(); ++f)
        im.store.set(static_cast<size_t>(row), f, jet::Value::null());
    im.rowids.resize(im.rowids.size() + im.sources.size(), 0);
    im.state.push_back(RowState::Live);
    ++im.live;
    im.pending.emplace();
    im.pending->row = row;
    im.pending->is_new = true;
    im.pending->return_to = before;
    im.pending->values.resize(im.meta.size());
    im.pos = row;
}

void Recordset::Update() {
    impl().save();
}

void Recordset::UpdateBatch(int) {
    // Under optimistic locking only the current record can hold pending changes, so
    // the current record and all records are the same here.
    impl().save();
}

void Recordset::CancelUpdate() {
    Impl& im = impl();
    if (!im.pending) return;
    if (im.pending->is_new) {
        const int64_t back = im.pending->return_to;
        im.store.pop_row();
        im.rowids.resize(im.rowids.size() - im.sources.size());
        im.state.pop_back();
        --im.live;
        im.pos = back > im.rows() ? im.rows() : back;
    }
    im.pending.reset();
}

void Recordset::Delete() {
    Impl& im = impl();
    im.require_updatable();
    im.read_all();
    im.require_current();
    if (im.pending && im.pending->is_new) {
        CancelUpdate();
        return;
    }
    // The record's table: the one occurrence whose columns it shows.
    int target = -1;
    for (size_t s = 0; s < im.sources.size(); ++s) {
        if (im.source_fields[s].empty()) continue;
        if (target >= 0) jet::raise(Fault::NotUpdatable, "Recordset");
        target = static_cast<int>(s);
    }
    if (target < 0) jet::raise(Fault::NotUpdatable, "Recordset");
    const int64_t id = im.rowid(im.pos, static_cast<size_t>(target));
    if (id == 0) jet::raise(Fault::NoCurrentRecord);
    jet::delete_row(im.database(), im.sources[static_cast<size_t>(target)].table, id);
    if (jet::detail::shape_observer != nullptr && !im.observed_sql.empty())
        jet::detail::shape_observer->row_written(
            im.observed_sql, im.sources[static_cast<size_t>(target)].table, 'D', {});
    im.pending.reset();
    im.state[static_cast<size_t>(im.pos)] = RowState::Deleted;
    --im.live;
}

jet::Value Field::value() const {
    Recordset::Impl& im = rs_->impl();
    if (jet::detail::shape_observer == nullptr || im.observed_sql.empty()) return im.read(index_);
    jet::Value v = im.read(index_);
    jet::detail::shape_observer->field_read(im.observed_sql, index_, v);
    return v;
}

void Field::set(const Value& v) {
    rs_->impl().write(index_, v);
}

std::string Field::Name() const {
    return rs_->impl().names[static_cast<size_t>(index_)];
}

int Field::Type() const {
    return static_cast<int>(rs_->impl().meta[static_cast<size_t>(index_)].type);
}

int Field::DefinedSize() const {
    return rs_->impl().meta[static_cast<size_t>(index_)].size;
}

}  // namespace ado
