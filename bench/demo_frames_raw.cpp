// The shadow-mapping demo's frame drawn without the engine's object, manager and font
// layers: plain SDL 1.2, GLEW and GL. Only the file loaders and image decoders are the
// engine's, so set beside demo_frames it measures what the engine adds per frame.
//   demo_frames_raw [WARMUP] [FRAMES] [SCREENSHOT.pam]   defaults 30 and 300; run under X
// Prints one line like demo_frames: start-up to the first frame, then median, p95 and
// fastest frame, in ms.
#include "models/3dsLoader.h"
#include "models/CMD2Loader.h"
#include "models/MeshMath.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL/SDL.h>
#include <SDL/SDL_image.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "math/CFrustum.h"

namespace {
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kShadowMapSize = 1024;
const float kLight[4] = {-120.0f, 190.0f, 20.0f, 1.0f};
const float kLightDiffuse[4] = {0.5f, 0.5f, 0.5f, 0.4f};
const float kLightAmbient[4] = {0.4f, 0.4f, 0.4f, 0.4f};
const float kLightSpecular[4] = {0.4f, 0.4f, 0.4f, 0.4f};
const float kBias[16] = {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 0.5f, 0, 0.5f, 0.5f, 0.5f, 1.0f};

void Perspective(double fovY, double aspect, double zNear, double zFar) {
    const double ymax = zNear * std::tan(fovY * M_PI / 360.0);
    glFrustum(-ymax * aspect, ymax * aspect, -ymax, ymax, zNear, zFar);
}

bool EndsWith(const std::string& s, const char* tail) {
    const std::string t(tail);
    if (s.size() < t.size()) return false;
    std::string end = s.substr(s.size() - t.size());
    std::transform(end.begin(), end.end(), end.begin(), ::tolower);
    return end == t;
}

// The decoders run here without a graphics core, so without anisotropy; where the
// extension exists the demo turns it on, so set the sampling it ends up with.
GLuint LoadTexture(const std::string& path) {
    const GLuint id = CreateModelTexture(path);
    if (!glewIsSupported("GL_EXT_texture_filter_anisotropic")) return id;
    glBindTexture(GL_TEXTURE_2D, id);
    GLfloat anisotropy = 1.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
    if (EndsWith(path, ".jpg")) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
    } else if (EndsWith(path, ".pcx") || EndsWith(path, ".bmp")) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, anisotropy);
    }
    return id;
}

GLuint CompileProgram(const char* vertexFile, const char* fragmentFile) {
    const GLuint program = glCreateProgram();
    for (const auto& [file, type] :
         {std::pair{vertexFile, GL_VERTEX_SHADER}, std::pair{fragmentFile, GL_FRAGMENT_SHADER}}) {
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        const std::string source = text.str();
        const char* src = source.c_str();
        const GLuint shader = glCreateShader(type);
        glShaderSource(shader, 1, &src, nullptr);
        glCompileShader(shader);
        glAttachShader(program, shader);
        glDeleteShader(shader);
    }
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) std::fprintf(stderr, "cannot link %s + %s\n", vertexFile, fragmentFile);
    return program;
}

// An MD2 character animated as the engine does it: frames advance by the tick clock and
// each draw interpolates between the current and the next frame.
struct Character {
    t3DModel model;
    GLuint skin = 0;
    float x = 0, y = 0, z = 0, angle = 0, scale = 1;
    float framesPerSecond = 5.0f;
    float lastTime = 0.0f;

    int NextFrame() {
        if (model.numOfAnimations <= 0) return model.currentFrame;
        const tAnimationInfo& animation = model.pAnimations[size_t(model.currentAnim)];
        return (model.currentFrame + 1) % animation.endFrame;
    }

    void Draw(bool textured) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
        glPushMatrix();
        glTranslatef(x, y, z);
        glRotatef(angle, 0.0f, 1.0f, 0.0f);
        glScalef(scale, scale, scale);
        glColor3f(1.0f, 1.0f, 1.0f);
        const int current = model.currentFrame;
        const int next = NextFrame();
        const float now = float(SDL_GetTicks());
        const float step = 1000.0f / framesPerSecond;
        const float t = (now - lastTime) / step;
        if (now - lastTime >= step) {
            model.currentFrame = next;
            lastTime = now;
        }
        if (textured) {
            glActiveTexture(GL_TEXTURE0);
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, skin);
        }
        const t3DObject& first = model.pObject[0];
        const t3DObject& from = model.pObject[size_t(current)];
        const t3DObject& to = model.pObject[size_t(next)];
        glBegin(GL_TRIANGLES);
        for (int f = 0; f < first.numOfFaces; ++f) {
            const tFace& face = first.pFaces[f];
            for (int k = 0; k < 3; ++k) {
                const int v = face.vertIndex[k];
                if (first.pTexVerts) {
                    const CVector2& uv = first.pTexVerts[face.coordIndex[k]];
                    glTexCoord2f(uv.x, uv.y);
                }
                const CVector3& n = first.pNormals[v];
                glNormal3f(n.x, n.y, n.z);
                const CVector3& a = from.pVerts[v];
                const CVector3& b = to.pVerts[v];
                glVertex3f(a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t);
            }
        }
        glEnd();
        glPopMatrix();
        glDisable(GL_CULL_FACE);
    }
};

bool LoadCharacter(Character& c, const char* file, const char* skin) {
    std::string f(file), s(skin);
    CMD2Loader loader;
    if (!loader.ImportMD2(&c.model, &f[0], &s[0]) || c.model.pObject.empty()) return false;
    c.skin = LoadTexture(skin);
    return true;
}

struct SceneMesh {
    GLuint vertices = 0, normals = 0, texCoords = 0;
    GLsizei count = 0;
    GLuint texture = 0;
    bool textured = false;
    sBoundingBox box;
};

GLuint Upload(const std::vector<float>& data) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(data.size() * sizeof(float)), data.data(),
                 GL_STATIC_DRAW);
    return buffer;
}

bool LoadScene(std::vector<SceneMesh>& meshes, const char* folder, const char* file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    t3DModel model;
    CLoad3DS loader;
    if (!loader.Import3DSFromMemory(&model, bytes.data(), bytes.size(), false)) return false;
    std::vector<GLuint> textures(size_t(model.numOfMaterials), 0);
    for (int i = 0; i < model.numOfMaterials; ++i)
        if (model.pMaterials[size_t(i)].strFile[0] != '\0')
            textures[size_t(i)] =
                LoadTexture(std::string(folder) + model.pMaterials[size_t(i)].strFile);
    for (const t3DObject& object : model.pObject) {
        const t3DSCornerArrays arrays = CLoad3DS::BuildCornerArrays(model, object);
        SceneMesh mesh;
        mesh.vertices = Upload(arrays.positions);
        mesh.normals = Upload(arrays.normals);
        if (object.bHasTexture) mesh.texCoords = Upload(arrays.texCoords);
        mesh.count = GLsizei(arrays.positions.size() / 3);
        mesh.textured = object.bHasTexture;
        if (object.materialID >= 0 && size_t(object.materialID) < textures.size())
            mesh.texture = textures[size_t(object.materialID)];
        mesh.box = object.boundingBox;
        meshes.push_back(mesh);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    ReleaseModel(model);
    return true;
}

// World placement of the scene: translate(rotate_y(0)(scale(p))).
const float kScenePos[3] = {0.0f, 51.0f, 0.0f};
const float kSceneSize[3] = {7.0f, 15.0f, 7.0f};

void DrawScene(const std::vector<SceneMesh>& meshes, const CFrustum& frustum) {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glPushMatrix();
    glTranslatef(kScenePos[0], kScenePos[1], kScenePos[2]);
    glScalef(kSceneSize[0], kSceneSize[1], kSceneSize[2]);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    for (const SceneMesh& mesh : meshes) {
        float lo[3], hi[3];
        const CVector3 &a = mesh.box.min, &b = mesh.box.max;
        const float mn[3] = {a.x, a.y, a.z}, mx[3] = {b.x, b.y, b.z};
        for (int i = 0; i < 3; ++i) {
            lo[i] = mn[i] * kSceneSize[i] + kScenePos[i];
            hi[i] = mx[i] * kSceneSize[i] + kScenePos[i];
        }
        if (!frustum.BoxInFrustum(lo[0], lo[1], lo[2], hi[0], hi[1], hi[2])) continue;
        glBindBuffer(GL_ARRAY_BUFFER, mesh.vertices);
        glVertexPointer(3, GL_FLOAT, 0, nullptr);
        glBindBuffer(GL_ARRAY_BUFFER, mesh.normals);
        glNormalPointer(GL_FLOAT, 0, nullptr);
        if (mesh.textured) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, mesh.texture);
            glBindBuffer(GL_ARRAY_BUFFER, mesh.texCoords);
            glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
        } else {
            glDisable(GL_TEXTURE_2D);
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
        glDrawArrays(GL_TRIANGLES, 0, mesh.count);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glPopMatrix();
    glDisable(GL_CULL_FACE);
}

// A 16 x 16 glyph sheet as display lists, 12 pixels per character, two glyph sets.
struct Font {
    GLuint texture = 0;
    GLuint lists = 0;

    void Build(const char* file) {
        texture = LoadTexture(file);
        lists = glGenLists(256);
        const float cell = 1.0f / 16.0f;
        for (int g = 0; g < 256; ++g) {
            const float cx = float(g % 16) * cell, cy = float(g / 16) * cell;
            glNewList(lists + GLuint(g), GL_COMPILE);
            glBegin(GL_QUADS);
            glTexCoord2f(cx, 1.0f - cy - cell);
            glVertex2f(0.0f, 16.0f);
            glTexCoord2f(cx + cell, 1.0f - cy - cell);
            glVertex2f(16.0f, 16.0f);
            glTexCoord2f(cx + cell, 1.0f - cy - 0.001f);
            glVertex2f(16.0f, 0.0f);
            glTexCoord2f(cx, 1.0f - cy - 0.001f);
            glVertex2f(0.0f, 0.0f);
            glEnd();
            glTranslatef(12.0f, 0.0f, 0.0f);
            glEndList();
        }
    }

    // Set 0/1 are the two glyph sets; 2/3 the same drawn twice, one pixel apart (bold).
    void Print(float x, float y, int set, const float rgba[4], float sx, float sy,
               const char* text) const {
        glBindTexture(GL_TEXTURE_2D, texture);
        glColor4fv(rgba);
        const int passes = set >= 2 ? 2 : 1;
        for (int pass = 0; pass < passes; ++pass) {
            glLoadIdentity();
            glTranslatef(x + float(pass), y, 0.0f);
            glListBase(lists + GLuint((set & 1) * 128) - 32);
            glScalef(sx, sy, 1.0f);
            glCallLists(GLsizei(std::strlen(text)), GL_UNSIGNED_BYTE, text);
        }
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
};

void WritePam(const char* file) {
    std::vector<unsigned char> pixels(size_t(kWidth) * kHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    FILE* out = std::fopen(file, "wb");
    if (!out) return;
    std::fprintf(out, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\nENDHDR\n",
                 kWidth, kHeight);
    for (int row = kHeight - 1; row >= 0; --row)
        std::fwrite(&pixels[size_t(row) * kWidth * 3], 1, size_t(kWidth) * 3, out);
    std::fclose(out);
}

struct Demo {
    Character mcClane, droid;
    std::vector<SceneMesh> scene;
    Font font;
    GLuint logo = 0;
    int logoWidth = 0, logoHeight = 0;
    GLuint shadowMap = 0, fbo = 0, program = 0;
    GLint testTexture = -1, shadowMapUniform = -1;
    float lightProjection[16], lightView[16], cameraView[16], cameraInverse[16];
    float speed = 5.0f;
    Uint32 lastTicks = 0;
    int vertexCount = 0;
    Uint32 fpsStart = 0;
    int fpsFrames = 0, fps = 0;
    CFrustum frustum;

    bool Init() {
        if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 4);
        if (!SDL_SetVideoMode(kWidth, kHeight, 24, SDL_OPENGL)) return false;
        SDL_WM_SetCaption("Shadow Mapping Demo (raw GL)", nullptr);
        SDL_ShowCursor(SDL_DISABLE);
        if (glewInit() != GLEW_OK) return false;

        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        Perspective(65.0, double(kWidth) / kHeight, 1.0, 15000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glShadeModel(GL_SMOOTH);
        glClearColor(0, 0, 0, 0);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_COLOR_MATERIAL);
        glLightfv(GL_LIGHT0, GL_SPECULAR, kLightSpecular);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, kLightDiffuse);
        glLightfv(GL_LIGHT0, GL_AMBIENT, kLightAmbient);
        glLightfv(GL_LIGHT0, GL_POSITION, kLight);
        glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

        // The depth map the light's view renders into.
        glGenTextures(1, &shadowMap);
        glBindTexture(GL_TEXTURE_2D, shadowMap);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, kShadowMapSize, kShadowMapSize, 0,
                     GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_R_TO_TEXTURE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
        glGenFramebuffers(1, &fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, shadowMap, 0);
        glDrawBuffer(GL_NONE);
        glReadBuffer(GL_NONE);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return false;
        glBindFramebuffer(GL_FRAMEBUFFER, 0);

        program = CompileProgram("shaders/ShadowMappingPerPixelLight.vert",
                                 "shaders/ShadowMappingPerPixelLight.frag");
        testTexture = glGetUniformLocation(program, "testTexture");
        shadowMapUniform = glGetUniformLocation(program, "shadowMap");

        font.Build("Data/Font/fontDemo.tga");
        if (!LoadCharacter(mcClane, "Data/Models/MD2/McClane/tris.MD2",
                           "Data/Models/MD2/McClane/nakatomi1.pcx") ||
            !LoadCharacter(droid, "Data/Models/MD2/r2d2/tris.md2",
                           "Data/Models/MD2/r2d2/r2d2.pcx") ||
            !LoadScene(scene, "Data/Models/demo/", "Data/Models/demo/26_okolie.3DS"))
            return false;
        mcClane.x = -35.0f, mcClane.y = 24.0f, mcClane.z = 20.0f;
        droid.x = 20.0f, droid.y = 10.0f, droid.z = 20.0f, droid.angle = 270.0f;
        droid.scale = 0.4f;
        for (const Character* c : {&mcClane, &droid})
            vertexCount += c->model.pObject[0].numOfVerts;
        for (const SceneMesh& mesh : scene)
            vertexCount += mesh.count;

        SDL_Surface* image = IMG_Load("Data/Logo/z3dlogo.png");
        if (!image) return false;
        SDL_Surface* rgba = SDL_CreateRGBSurface(SDL_SWSURFACE, image->w, image->h, 32, 0x000000FF,
                                                 0x0000FF00, 0x00FF0000, 0xFF000000);
        SDL_SetAlpha(image, 0, 255);
        SDL_BlitSurface(image, nullptr, rgba, nullptr);
        logoWidth = image->w, logoHeight = image->h;
        glGenTextures(1, &logo);
        glBindTexture(GL_TEXTURE_2D, logo);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, rgba->pitch / 4);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, rgba->w, rgba->h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     rgba->pixels);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        SDL_FreeSurface(rgba);
        SDL_FreeSurface(image);

        // The light's matrices: perspective 45 degrees, square, 1..1500, looking at the origin.
        glPushMatrix();
        glLoadIdentity();
        Perspective(45.0, 1.0, 1.0, 1500.0);
        glGetFloatv(GL_MODELVIEW_MATRIX, lightProjection);
        glLoadIdentity();
        gluLookAt(kLight[0], kLight[1], kLight[2], 0, 0, 0, 0, 1, 0);
        glGetFloatv(GL_MODELVIEW_MATRIX, lightView);
        // The camera's view and its inverse (the texture matrix starts from eye space).
        glLoadIdentity();
        gluLookAt(68, 80, 68, 1, 5, 1, 0, 1, 0);
        glGetFloatv(GL_MODELVIEW_MATRIX, cameraView);
        glPopMatrix();
        InvertRigid(cameraView, cameraInverse);
        lastTicks = fpsStart = SDL_GetTicks();
        return true;
    }

    // A rotation plus translation inverts as the transposed rotation and the turned-back shift.
    static void InvertRigid(const float m[16], float out[16]) {
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                out[c * 4 + r] = m[r * 4 + c];
        for (int r = 0; r < 3; ++r)
            out[12 + r] = -(out[r] * m[12] + out[4 + r] * m[13] + out[8 + r] * m[14]);
        out[3] = out[7] = out[11] = 0.0f;
        out[15] = 1.0f;
    }

    void Frame() {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
        }
        const Uint32 now = SDL_GetTicks();
        const double interval = (now - lastTicks) / 1000.0;
        lastTicks = now;
        if (droid.z > 50.0f) speed = -std::fabs(speed);
        if (droid.z < -10.0f) speed = std::fabs(speed);
        droid.z = float(droid.z + speed * interval);

        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadMatrixf(cameraView);
        frustum.CalculateFrustum();

        // Depth of the two characters from the light.
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glViewport(0, 0, kShadowMapSize, kShadowMapSize);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadMatrixf(lightProjection);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(lightView);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glPolygonOffset(8.0f, 4.0f);
        glEnable(GL_POLYGON_OFFSET_FILL);
        mcClane.Draw(false);
        droid.Draw(false);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glDisable(GL_POLYGON_OFFSET_FILL);
        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);

        // The lit pass, each fragment compared against the map on unit 1.
        glLoadMatrixf(cameraView);
        glUseProgram(program);
        glActiveTexture(GL_TEXTURE1);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, shadowMap);
        glUniform1i(testTexture, 0);
        glUniform1i(shadowMapUniform, 1);
        glMatrixMode(GL_TEXTURE);
        glLoadMatrixf(kBias);
        glMultMatrixf(lightProjection);
        glMultMatrixf(lightView);
        glMultMatrixf(cameraInverse);
        glMatrixMode(GL_MODELVIEW);
        glActiveTexture(GL_TEXTURE0);
        glEnable(GL_LIGHT0);
        glEnable(GL_LIGHTING);
        mcClane.Draw(true);
        droid.Draw(true);
        DrawScene(scene, frustum);
        glActiveTexture(GL_TEXTURE1);
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glDisable(GL_TEXTURE_2D);
        glActiveTexture(GL_TEXTURE0);
        glUseProgram(0);

        // Texts and logo in pixel coordinates, y down.
        ++fpsFrames;
        if (now - fpsStart >= 1000) {
            fps = fpsFrames;
            fpsFrames = 0;
            fpsStart = now;
        }
        glDisable(GL_LIGHTING);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0, kWidth, kHeight, 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        char line[64];
        const float white[4] = {1, 1, 1, 1}, title[4] = {0.8f, 0.4f, 0.2f, 1.0f},
                    help[4] = {0.4f, 0.4f, 0.8f, 1.0f};
        std::snprintf(line, sizeof line, "Current FPS: %d", fps);
        font.Print(3, 5, 0, white, 1, 1, line);
        font.Print(360, 5, 2, title, 2, 2, "Shadow Mapping Demo");
        std::snprintf(line, sizeof line, "Number of vertices: %d", vertexCount);
        font.Print(1, 30, 0, white, 1, 1, line);
        font.Print(1, 80, 2, help, 1.1f, 1.1f, "Press Space to enable PCF filtering");
        font.Print(1, 110, 2, help, 1.1f, 1.1f, "Move light width cursor keys");
        glLoadIdentity();
        glBindTexture(GL_TEXTURE_2D, logo);
        const float lx = float(kWidth - 5 - logoWidth), ly = float(kHeight - 5 - logoHeight);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0);
        glVertex2f(lx, ly);
        glTexCoord2f(1, 0);
        glVertex2f(lx + logoWidth, ly);
        glTexCoord2f(1, 1);
        glVertex2f(lx + logoWidth, ly + logoHeight);
        glTexCoord2f(0, 1);
        glVertex2f(lx, ly + logoHeight);
        glEnd();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_DEPTH_TEST);
    }
};

} // namespace

int main(int argc, char** argv) {
    const Clock::time_point start = Clock::now();
    const int warmup = argc > 1 ? std::max(0, std::atoi(argv[1])) : 30;
    const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 300;
    const char* screenshot = argc > 3 ? argv[3] : nullptr;

    static Demo demo; // GL objects are left to the context's end, as in the engine's demo
    if (!demo.Init()) {
        std::fprintf(stderr, "demo_frames_raw: start-up failed: %s\n", SDL_GetError());
        return 1;
    }
    demo.Frame();
    SDL_GL_SwapBuffers();
    glFinish();
    const double startup = Milliseconds(start, Clock::now());

    for (int i = 0; i < warmup; ++i) {
        demo.Frame();
        SDL_GL_SwapBuffers();
    }
    std::vector<double> times;
    times.reserve(size_t(frames));
    for (int i = 0; i < frames; ++i) {
        const Clock::time_point before = Clock::now();
        demo.Frame();
        if (screenshot && i == frames - 1) WritePam(screenshot);
        SDL_GL_SwapBuffers();
        glFinish();
        times.push_back(Milliseconds(before, Clock::now()));
    }
    std::sort(times.begin(), times.end());
    std::fprintf(stderr, "startup_ms %.1f median_ms %.2f p95_ms %.2f fastest_ms %.2f\n", startup,
                 times[times.size() / 2],
                 times[std::min(times.size() - 1, times.size() * 95 / 100)], times.front());
    SDL_Quit();
    return 0;
}
