// GLDisplayList: a move-only owner of a consecutive range of GL display lists.
// Empty owners need no context; lists are freed only while one is current.
#pragma once

#include <GL/gl.h>

#include <utility>

class GLDisplayList
{
public:
    GLDisplayList() = default;   // empty; no GL call
    ~GLDisplayList() { release(); }

    GLDisplayList(const GLDisplayList&) = delete;
    GLDisplayList& operator=(const GLDisplayList&) = delete;

    GLDisplayList(GLDisplayList&& other) noexcept
        : _base(std::exchange(other._base, 0u)), _count(std::exchange(other._count, 0))
    {
    }
    GLDisplayList& operator=(GLDisplayList&& other) noexcept
    {
        if (this != &other) {
            release();
            _base = std::exchange(other._base, 0u);
            _count = std::exchange(other._count, 0);
        }
        return *this;
    }

    // Allocates count consecutive lists (context current), freeing any held
    // before. False, and empty, when count is not positive or GL has no names.
    bool generate(GLsizei count)
    {
        release();
        if (count <= 0)
            return false;
        _base = glGenLists(count);
        _count = _base != 0 ? count : 0;
        return _base != 0;
    }

    // Starts compiling list i of the range (0 <= i < count); pair with endCompile().
    void beginCompile(GLsizei i = 0) const { glNewList(_base + static_cast<GLuint>(i), GL_COMPILE); }
    static void endCompile() { glEndList(); }

    // Calls list i of the range; nothing when empty or i is out of range.
    void call(GLsizei i = 0) const
    {
        if (i >= 0 && i < _count)
            glCallList(_base + static_cast<GLuint>(i));
    }

    GLuint base() const { return _base; }
    GLsizei count() const { return _count; }
    bool empty() const { return _count == 0; }
    GLuint id(GLsizei i = 0) const { return _base + static_cast<GLuint>(i); }

    // Frees the lists when some are held (context current); idempotent.
    void release()
    {
        if (_count > 0)
            glDeleteLists(_base, _count);
        _base = 0;
        _count = 0;
    }

    // Gives up ownership without freeing: returns the base; the caller frees.
    GLuint take()
    {
        _count = 0;
        return std::exchange(_base, 0u);
    }

private:
    GLuint _base = 0;
    GLsizei _count = 0;
};
