#pragma once

#include <cstddef>
#include <sys/mman.h>

// Memory of its own pages, returned to the system as soon as it goes (a large block from the heap
// may stay behind in it), and for 4 MB or more asked to be in huge pages: a large buffer then
// costs a few hundred page faults rather than tens of thousands. The pages start as zeros, and
// untouched pages take no memory.
class Pages
{
public:
    explicit Pages(size_t bytes) : m_size(bytes)
    {
        void* p = ::mmap(nullptr, m_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            return;
        m_data = p;
        if (m_size >= (size_t(4) << 20))
            ::madvise(m_data, m_size, MADV_HUGEPAGE);
    }
    ~Pages()
    {
        if (m_data)
            ::munmap(m_data, m_size);
    }
    Pages(const Pages&) = delete;
    Pages& operator=(const Pages&) = delete;
    void* data() const { return m_data; }

private:
    void* m_data = nullptr;
    size_t m_size;
};
