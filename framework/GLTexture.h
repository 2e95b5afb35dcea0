// GLTexture: a move-only owner of one GL texture name. Empty owners need no
// context; the texture is freed only while one is current.
#pragma once

#include <GL/gl.h>

#include <utility>

class GLTexture
{
public:
    GLTexture() = default;   // empty; no GL call
    ~GLTexture() { release(); }

    GLTexture(const GLTexture&) = delete;
    GLTexture& operator=(const GLTexture&) = delete;

    GLTexture(GLTexture&& other) noexcept : _id(std::exchange(other._id, 0u)) {}
    GLTexture& operator=(GLTexture&& other) noexcept
    {
        if (this != &other) {
            release();
            _id = std::exchange(other._id, 0u);
        }
        return *this;
    }

    // Makes a new texture name (context current), freeing any held before.
    // False, and empty, when GL gives no name.
    bool generate()
    {
        release();
        glGenTextures(1, &_id);
        return _id != 0;
    }

    GLuint id() const { return _id; }
    bool empty() const { return _id == 0; }

    // Frees the texture when one is held (context current); idempotent.
    void release()
    {
        if (_id != 0)
            glDeleteTextures(1, &_id);
        _id = 0;
    }

    // Gives up ownership without freeing (a scene without a context, whose
    // names died with it): returns the name; the caller frees.
    GLuint take() { return std::exchange(_id, 0u); }

private:
    GLuint _id = 0;
};
