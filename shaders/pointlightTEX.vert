#version 120
// GL_LIGHT0 as a point light, per fragment, lighting the texture on unit 0.
varying vec3 normal;
varying vec3 eyePos;

void main() {
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePos = eye.xyz;
    normal = gl_NormalMatrix * gl_Normal;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
