// Growable array of any copyable item, indexed from 0, appended at the end: the
// framework's CArray, for the few lists that are not strings. Its buffer is its
// own (no operator new), as the strings' are.
#pragma once

#include <cstdlib>
#include <new>

template <typename T>
class CArray {
public:
    CArray() = default;
    CArray(const CArray& other) { Append(other); }
    CArray& operator=(const CArray& other)
    {
        if (this != &other) {
            RemoveAll();
            Append(other);
        }
        return *this;
    }
    ~CArray()
    {
        RemoveAll();
        std::free(m_pData);
    }

    int GetSize() const { return m_nSize; }
    bool IsEmpty() const { return m_nSize == 0; }
    const T& GetAt(int i) const { return m_pData[i]; }
    const T& operator[](int i) const { return m_pData[i]; }
    T& operator[](int i) { return m_pData[i]; }
    int Add(const T& item)
    {
        const T copy(item);  // item may be one of ours, moved below
        if (m_nSize == m_nCapacity) {
            const int capacity = m_nCapacity ? m_nCapacity * 2 : 8;
            T* p = static_cast<T*>(std::malloc(sizeof(T) * static_cast<size_t>(capacity)));
            if (!p)
                std::abort();  // the program throws nothing; without memory it cannot go on
            for (int i = 0; i < m_nSize; ++i) {
                new (&p[i]) T(static_cast<T&&>(m_pData[i]));  // moved where T can be
                m_pData[i].~T();
            }
            std::free(m_pData);
            m_pData = p;
            m_nCapacity = capacity;
        }
        new (&m_pData[m_nSize]) T(copy);
        return m_nSize++;
    }
    void Append(const CArray& other)
    {
        for (int i = 0; i < other.m_nSize; ++i)
            Add(other.m_pData[i]);
    }
    void RemoveAll()
    {
        for (int i = 0; i < m_nSize; ++i)
            m_pData[i].~T();
        m_nSize = 0;
    }

private:
    T* m_pData = nullptr;
    int m_nSize = 0;
    int m_nCapacity = 0;
};

// The first nMaxShown texts, each followed by a line break, and strMore when
// there are more: a list a message box can show without becoming a wall of text.
template <typename S>
S JoinLines(const CArray<S>& items, int nMaxShown, const S& strMore)
{
    S list;
    for (int i = 0; i < items.GetSize() && i < nMaxShown; ++i) {
        list += items[i];
        list += '\n';
    }
    if (items.GetSize() > nMaxShown)
        list += strMore;
    return list;
}
