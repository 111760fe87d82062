#version 120
// Per-fragment directional diffuse light from GL_LIGHT0, modulating the texture on unit 0.
varying vec3 normal;

void main() {
    normal = gl_NormalMatrix * gl_Normal;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
