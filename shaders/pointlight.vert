#version 120
// GL_LIGHT0 as a point light (its position, attenuation and colours), per fragment.
varying vec3 normal;
varying vec3 eyePos;

void main() {
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePos = eye.xyz;
    normal = gl_NormalMatrix * gl_Normal;
    gl_Position = ftransform();
}
