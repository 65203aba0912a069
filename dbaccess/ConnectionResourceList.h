#pragma once
// Objects a connection creates while it reads a source table (field list,
// field definitions, index list). The error list keeps referring to them while
// the table is copied, so they live until the connection opens or closes again.

#include <QString>

#include <memory>
#include <vector>

class TDBConnection;

// Type-erased owner of one held object.
class TResourceHolder {
public:
    virtual ~TResourceHolder() = default;
};

template <class T>
class TResourceOf : public TResourceHolder {
public:
    explicit TResourceOf(std::unique_ptr<T> object) : m_object(std::move(object)) {}

private:
    std::unique_ptr<T> m_object;
};

class TConnectionResourceList {
public:
    virtual ~TConnectionResourceList() = default;

    // appended and owned; the table name is not kept.
    virtual void add(const QString& tableName, std::unique_ptr<TResourceHolder> object) = 0;
    // frees every held object.
    virtual void clear() = 0;

    // Hands an object over and returns it, still valid until clear().
    template <class T>
    T* hold(const QString& tableName, std::unique_ptr<T> object)
    {
        T* raw = object.get();
        if (raw)
            add(tableName, std::make_unique<TResourceOf<T>>(std::move(object)));
        return raw;
    }
};

class TDBConnectionResourceList : public TConnectionResourceList {
public:
    explicit TDBConnectionResourceList(TDBConnection* connection) : m_connection(connection) {}
    ~TDBConnectionResourceList() override;

    void add(const QString& tableName, std::unique_ptr<TResourceHolder> object) override;
    void clear() override;

    int count() const { return int(m_objects.size()); }
    TDBConnection* connection() const { return m_connection; }

private:
    TDBConnection* m_connection; // not owned
    std::vector<std::unique_ptr<TResourceHolder>> m_objects;
};
